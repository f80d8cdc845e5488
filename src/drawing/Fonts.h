#pragma once

namespace tarmela
{

// The drawings and reports name the fonts "Arial" and "MS Sans Serif". Both are taken to
// Liberation Sans, which has Arial's metrics, so text measures the same on every machine.
void installFontSubstitutions();

} // namespace tarmela
