#pragma once
// The Windows calls of the file layer, as one table (see os/file_calls.h). Entries take only the
// arguments the layer uses (no security attributes, no overlapped I/O) and report failures through
// the thread's last error, as the calls do.
#include <windows.h>

namespace qlxw::platform {

struct FileCalls {
  HANDLE (*createFile)(const wchar_t* name, DWORD access, DWORD share, DWORD disposition);
  // A file or a folder opened only to ask what it is (where its links and substitutions lead).
  HANDLE (*openToQuery)(const wchar_t* name);
  DWORD (*getFinalPathNameByHandle)(HANDLE file, wchar_t* path, DWORD size);
  // How many names the file has: one with more is rewritten in place, so that each keeps it.
  BOOL (*getFileInformationByHandle)(HANDLE file, BY_HANDLE_FILE_INFORMATION* information);
  BOOL (*readFile)(HANDLE file, void* buffer, DWORD size, DWORD* got);
  BOOL (*writeFile)(HANDLE file, const void* buffer, DWORD size, DWORD* written);
  BOOL (*flushFileBuffers)(HANDLE file);
  BOOL (*setEndOfFile)(HANDLE file);
  BOOL (*getFileSizeEx)(HANDLE file, LARGE_INTEGER* size);
  DWORD (*getFileType)(HANDLE file);
  BOOL (*closeHandle)(HANDLE handle);
  BOOL (*moveFileEx)(const wchar_t* from, const wchar_t* to, DWORD flags);
  BOOL (*deleteFile)(const wchar_t* name);
  HANDLE (*findFirstFile)(const wchar_t* pattern, WIN32_FIND_DATAW* found);  // leftover temporary files
  BOOL (*findNextFile)(HANDLE search, WIN32_FIND_DATAW* found);
  BOOL (*findClose)(HANDLE search);
  DWORD (*getFullPathName)(const wchar_t* name, DWORD size, wchar_t* full);
  HANDLE (*createMutex)(const wchar_t* name);
  DWORD (*waitForSingleObject)(HANDLE handle, DWORD milliseconds);
  BOOL (*releaseMutex)(HANDLE mutex);
  BOOL (*getFileAttributesEx)(const wchar_t* name, WIN32_FILE_ATTRIBUTE_DATA* data);
  UINT (*getDriveType)(const wchar_t* root);
  void (*sleep)(DWORD milliseconds);  // between tries of a replace another program holds up
};

// The table the file layer calls through.
FileCalls& FileCallTable();
// The system's own entries, whatever the table holds now.
const FileCalls& SystemFileCalls();

}  // namespace qlxw::platform
