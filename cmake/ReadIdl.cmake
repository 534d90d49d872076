# The IDL's text with its strings emptied and its comments removed, in the variable `idl`: texts and
# comments may hold brackets, which the scripts that read declarations from the IDL must not see
# (texts go first, as they may hold "//"). Include it after setting IDL.
file(READ ${IDL} idl)
string(REGEX REPLACE "\"[^\"]*\"" "\"\"" idl "${idl}")
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" idl "${idl}")
string(REGEX REPLACE "//[^\n]*" "" idl "${idl}")
