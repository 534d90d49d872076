# Drops the C++ default arguments widl writes for by-reference optional parameters ("long *X = 0"):
# the default belongs to the type library, and a number is no pointer. Run with -DHEADER=<file>.
file(READ ${HEADER} text)
string(REGEX REPLACE "(\\*[A-Za-z_]+) = -?[0-9]+" "\\1" text "${text}")
file(WRITE ${HEADER} "${text}")
