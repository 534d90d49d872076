# Writes the registration-free activation manifest of the COM server from its IDL, so that it lists
# exactly the library and the creatable classes the type library describes. Those must be the classes
# the server makes, given as -DCLASSES=<coclass,coclass...> (com/classes/class_table.list).
# Run with -DIDL=<file> -DOUTPUT=<file> -DVERSION=<major.minor.patch> -DARCHITECTURE=<x86|amd64>.
include(${CMAKE_CURRENT_LIST_DIR}/ReadIdl.cmake)

string(REGEX MATCH "\\[([^]]*)\\][ \t\r\n]*library[ \t\r\n]+QlxWCommon" library "${idl}")
string(REGEX MATCH "uuid\\(([0-9A-Fa-f-]+)\\)" _ "${library}")
string(TOUPPER "{${CMAKE_MATCH_1}}" library_id)
string(REGEX MATCH "version\\(([0-9]+\\.[0-9]+)\\)" _ "${library}")
set(library_version ${CMAKE_MATCH_1})
if(library_id STREQUAL "{}" OR NOT library_version)
  message(FATAL_ERROR "${IDL}: no library uuid and version")
endif()

set(classes "")
set(creatable "")
string(REGEX MATCHALL "\\[[^]]*\\][ \t\r\n]*coclass[ \t\r\n]+[A-Za-z0-9_]+" coclasses "${idl}")
foreach(coclass IN LISTS coclasses)
  if(coclass MATCHES "noncreatable")
    continue()
  endif()
  string(REGEX MATCH "coclass[ \t\r\n]+([A-Za-z0-9_]+)" _ "${coclass}")
  set(name ${CMAKE_MATCH_1})
  list(APPEND creatable ${name})
  string(REGEX MATCH "uuid\\(([0-9A-Fa-f-]+)\\)" _ "${coclass}")
  string(TOUPPER "{${CMAKE_MATCH_1}}" class_id)
  string(APPEND classes
         "    <comClass clsid=\"${class_id}\" tlbid=\"${library_id}\" threadingModel=\"Apartment\"\n"
         "              progid=\"QlxWCommon.${name}.1\" description=\"${name}\">\n"
         "      <progid>QlxWCommon.${name}</progid>\n"
         "    </comClass>\n")
endforeach()
if(classes STREQUAL "")
  message(FATAL_ERROR "${IDL}: no creatable class")
endif()
# A class the server does not make would fail through the manifest; one it makes but the IDL marks
# noncreatable would be missing from it.
string(REPLACE "," ";" made "${CLASSES}")
list(SORT creatable)
list(SORT made)
if(NOT creatable STREQUAL made)
  message(FATAL_ERROR "the creatable coclasses of ${IDL} (${creatable}) are not the classes of the "
                      "server's class table (${made})")
endif()

file(WRITE ${OUTPUT}.tmp
     "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
     "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
     "  <assemblyIdentity type=\"win32\" name=\"QlxWCommon\" version=\"${VERSION}.0\" "
     "processorArchitecture=\"${ARCHITECTURE}\"/>\n"
     "  <file name=\"QlxWCommon.dll\">\n"
     "    <typelib tlbid=\"${library_id}\" version=\"${library_version}\" helpdir=\"\" flags=\"\"/>\n"
     "${classes}"
     "  </file>\n"
     "</assembly>\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
