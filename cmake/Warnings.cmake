# Every target of the project links tarmela_warnings.
add_library(tarmela_warnings INTERFACE)
target_compile_options(tarmela_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(TARMELA_WERROR)
  target_compile_options(tarmela_warnings INTERFACE -Werror)
endif()
