/* Preloaded into both halves of the private 32-bit Wine (built once for each bitness).
 *
 * Wine starts a process of the other bitness by exec'ing that bitness's loader by path. The 32-bit
 * loader (".../lib/wine/wine") is an i386 program the kernel here cannot run, so its exec goes to the
 * runner named by QLXW_WINE32_RUNNER, which starts it under qemu-i386. Every other exec, /usr/bin/wine
 * (a script) and the 64-bit loader included, is left as it is. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

typedef int (*execve_fn)(const char*, char* const[], char* const[]);

static int ends_with(const char* text, const char* tail) {
  size_t n = strlen(text), m = strlen(tail);
  return n >= m && strcmp(text + n - m, tail) == 0;
}

/* The path to exec instead of `path`. */
static const char* substitute(const char* path) {
  const char* runner = getenv("QLXW_WINE32_RUNNER");
  return runner && *runner && ends_with(path, "/lib/wine/wine") ? runner : path;
}

static execve_fn real_execve;

/* Looked up before any thread or fork of the program (dlsym is no call for a forked child). */
__attribute__((constructor)) static void find_real(void) {
  real_execve = (execve_fn)dlsym(RTLD_NEXT, "execve");
}

static int forward(const char* path, char* const argv[], char* const envp[]) {
  if (!real_execve)
    find_real();
  return real_execve(substitute(path), argv, envp);
}

int execve(const char* path, char* const argv[], char* const envp[]) {
  return forward(path, argv, envp);
}

int execv(const char* path, char* const argv[]) {
  extern char** environ;
  return forward(path, argv, environ);
}
