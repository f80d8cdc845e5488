# Fails when a string literal in a source file under src/ outside src/store holds SQL statement
# text: the store (src/store) is the one place that reads and writes the project file, and the
# layers above it call its functions. Comments are not looked at; words of a message ("Select
# printer", "Update Quantities") are not statements. Run as:
#   cmake -DROOT=<source dir> -P cmake/CheckSqlInStore.cmake
cmake_minimum_required(VERSION 3.25)

# What marks a literal (in lower case, [ ] read as ( )) as statement text.
set(sql_patterns
    "(^|[^a-z_])select[ ]+[^ ,]+(,[ ]*[^,]+)*[ ]+from([ ]|$)"
    "(^|[^a-z_])select[ ]+(\\*|distinct[ ]|(count|max|min|sum|total_changes)[ ]*\\()"
    "(^|[^a-z_])(select|update|where)[ ]+$"
    "(^|[^a-z_])insert[ ]+(or[ ]+[a-z]+[ ]+)?into[ ]"
    "(^|[^a-z_])update[ ]+[^ ]+[ ]+set[ ]"
    "(^|[^a-z_])delete[ ]+(\\*[ ]+)?from[ ]"
    "(^|[^a-z_])(create|drop)[ ]+(temp[ ]+|temporary[ ]+|unique[ ]+)?(table|index|view|trigger)[ ]"
    "(^|[^a-z_])alter[ ]+table[ ]"
    "(^|[^a-z_])pragma[ ]+[a-z_]"
    "(^|[^a-z_])order[ ]+by[ ]"
    "(^|[^a-z_])where[ ]+[a-z_.()\"]+[ ]*(=|<|>|is[ ]+(not[ ]+)?null|in[ ]*\\()"
    "^[ ]+(set|where|from|values)[ ]")

function(is_sql literal out)
  string(TOLOWER "${literal}" text)
  string(REPLACE "[" "(" text "${text}")
  string(REPLACE "]" ")" text "${text}")
  foreach(p IN LISTS sql_patterns)
    if(text MATCHES "${p}")
      set(${out} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

# The rule checked on itself first, so that a pattern that stops matching fails the test
# instead of passing every file.
foreach(case
    "1|SELECT * FROM RL_4" "1|Select Chainage, L1, ID from RL_2 order by Chainage, ID"
    "1|SELECT ID, Chainage FROM Roads WHERE ID = ?" "1|UPDATE "
    "1| SET FC = ? WHERE ID = ?" "1|insert into Culverts (RoadRef) values (?)"
    "1|Delete * from ChDistance where RoadRef=3" "1|CREATE TABLE X (A)" "1|PRAGMA data_version"
    "1|SELECT COUNT(*) FROM " "1|select max(Chainage) from %1" "1|ALTER TABLE RL_1 ADD x"
    "0|Select printer" "0|Update Quantities" "0|Update" "0|Select a road from the list"
    "0|No records selected. Select one or more records for deletion!"
    "0|Data sheet not generated. Select 'Generate Data Sheet' from Data menu"
    "0|taking the update back" "0|Select folder for Export" "0|From to To"
    "0|Set the interval in the road details." "0|between chainage %1 and %2 to set ")
  string(REGEX REPLACE "^([01])\\|(.*)$" "\\1" want "${case}")
  string(REGEX REPLACE "^([01])\\|(.*)$" "\\2" literal "${case}")
  is_sql("${literal}" got)
  if((want AND NOT got) OR (NOT want AND got))
    message(FATAL_ERROR "CheckSqlInStore.cmake misjudges \"${literal}\" (statement: ${want})")
  endif()
endforeach()

set(faults "")
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/src/*.h ${ROOT}/src/*.cpp)
foreach(file IN LISTS files)
  if(file MATCHES "^src/store/")
    continue()
  endif()
  file(READ ${ROOT}/${file} content)
  if(NOT content MATCHES "\"")
    continue()
  endif()
  # Lines as a list: ';' and square brackets would split it or hide the separators.
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "[" "(" content "${content}")
  string(REPLACE "]" ")" content "${content}")
  string(REPLACE "\\\\" "__" content "${content}")
  string(REPLACE "\\\"" "'" content "${content}")
  string(REPLACE "'\"'" "'q'" content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(number 0)
  foreach(line IN LISTS lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "\"" OR line MATCHES "^[ \t]*(//|/\\*|\\*)")
      continue()
    endif()
    # A comment after the code: from the first // outside a literal.
    string(REGEX REPLACE "^(([^\"/]|/[^/\"]|\"[^\"]*\")*)//.*$" "\\1" line "${line}")
    string(REGEX MATCHALL "\"[^\"]*\"" literals "${line}")
    foreach(literal IN LISTS literals)
      string(REGEX REPLACE "^\"(.*)\"$" "\\1" literal "${literal}")
      is_sql("${literal}" sql)
      if(sql)
        list(APPEND faults "${file}:${number}: \"${literal}\"")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "SQL statement text outside src/store (call a reader or writer of "
                      "src/store instead):\n  ${text}")
endif()
message(STATUS "No SQL statement text outside src/store")
