#pragma once
// The Windows calls of the file layer, as one table (see os/file_calls.h). Entries take only the
// arguments the layer uses (no security attributes, no overlapped I/O) and report failures through
// the thread's last error, as the calls do.
#include <windows.h>

namespace qlxw::platform {

struct FileCalls {
  HANDLE (*createFile)(const wchar_t* name, DWORD access, DWORD share, DWORD disposition);
  BOOL (*readFile)(HANDLE file, void* buffer, DWORD size, DWORD* got);
  BOOL (*writeFile)(HANDLE file, const void* buffer, DWORD size, DWORD* written);
  BOOL (*flushFileBuffers)(HANDLE file);
  BOOL (*getFileSizeEx)(HANDLE file, LARGE_INTEGER* size);
  DWORD (*getFileType)(HANDLE file);
  DWORD (*getFileAttributes)(const wchar_t* name);
  BOOL (*closeHandle)(HANDLE handle);
  BOOL (*moveFileEx)(const wchar_t* from, const wchar_t* to, DWORD flags);
  BOOL (*deleteFile)(const wchar_t* name);
  DWORD (*getFullPathName)(const wchar_t* name, DWORD size, wchar_t* full);
  HANDLE (*createMutex)(const wchar_t* name);
  DWORD (*waitForSingleObject)(HANDLE handle, DWORD milliseconds);
  BOOL (*releaseMutex)(HANDLE mutex);
  BOOL (*getFileAttributesEx)(const wchar_t* name, WIN32_FILE_ATTRIBUTE_DATA* data);
  UINT (*getDriveType)(const wchar_t* root);
};

// The table the file layer calls through.
FileCalls& FileCallTable();
// The system's own entries, whatever the table holds now.
const FileCalls& SystemFileCalls();

}  // namespace qlxw::platform
