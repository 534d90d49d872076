/* Preloaded into the 32-bit half of the private Wine, which runs under qemu-i386.
 *
 * Wine tells a page fault from other faults by the trap number in the signal's context. qemu 7.2 has
 * forgotten the trap by the time it builds the context and writes -1 there, so Wine reports every page
 * fault as an illegal instruction: guard pages (thread stacks growing) and write watches stop working,
 * and a program hangs or dies. Wine's handler for SIGSEGV is wrapped here: a fault with no trap number
 * is a page fault when the signal says the address was unmapped or refused, a protection fault else. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>
#include <sys/ucontext.h>

typedef int (*sigaction_fn)(int, const struct sigaction*, struct sigaction*);
typedef void (*handler_fn)(int, siginfo_t*, void*);

enum { kProtectionFault = 13, kPageFault = 14 };

static handler_fn wine_handler;

static void with_trap(int signal_number, siginfo_t* info, void* context) {
  ucontext_t* state = (ucontext_t*)context;
  if (state->uc_mcontext.gregs[REG_TRAPNO] == -1) {
    const int memory = info->si_code == SEGV_MAPERR || info->si_code == SEGV_ACCERR;
    state->uc_mcontext.gregs[REG_TRAPNO] = memory ? kPageFault : kProtectionFault;
  }
  wine_handler(signal_number, info, context);
}

int sigaction(int signal_number, const struct sigaction* action, struct sigaction* old) {
  static sigaction_fn real;
  if (!real)
    real = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
  if (signal_number != SIGSEGV || !action || !(action->sa_flags & SA_SIGINFO) || !action->sa_sigaction ||
      action->sa_sigaction == with_trap) {
    return real(signal_number, action, old);
  }
  struct sigaction wrapped = *action;
  wine_handler = action->sa_sigaction;
  wrapped.sa_sigaction = with_trap;
  return real(signal_number, &wrapped, old);
}
