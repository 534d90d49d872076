#!/usr/bin/env bash
# Plants each known fault of the list below in turn, rebuilds the native tests and reports which tests
# fail. A fault that no test fails is a hole in the tests. Run from a checkout with a configured native
# build: scripts/mutants.sh [build-dir] [name ...]; the work tree is put back after each fault.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true

# name | file | sed expression (no "|" in it) | what the fault is
faults=(
  "tie-kept-higher|src/services/folders/folder_manager.cpp|s/candidate.size() > bestPath.size()/candidate.size() >= bestPath.size()/|FindBaseFolder keeps the higher identifier on ties"
  "alias-hop-extra|src/services/folders/folder_manager.cpp|s/std::int32_t budget = table_.Count();/std::int32_t budget = table_.Count() + 1;/|one more alias hop than the table allows"
  "instr-end|src/services/config/ini_values.cpp|s/pos + find.size() <= text.size()/pos + find.size() < text.size()/|InStr misses a match at the end"
  "hotkey-index-0|src/services/ui/hot_keys.cpp|s/position < 1 /position < 0 /|hot key position 0 accepted"
  "write-back-flipped|src/services/profile/profile.cpp|s/now != \\*seen/now == *seen/|write-back overwrites another writer's value"
  "temp-left|src/platform/os/posix/files_posix.cpp|/^FileResult CloseTemporary/,/^}/s/gCalls.unlinkat(at, temporary.c_str(), 0);/(void)at, (void)temporary;/|a failed write leaves its temporary file"
  "flush-skipped|src/platform/os/posix/files_posix.cpp|s/if (result.Ok() \&\& gCalls.fsync(fd) != 0) {/if (false) {/|the write is not flushed before the rename"
  "missing-folder-53|src/platform/os/file_failure.cpp|/FileFailure::kPathNotFound:/{n;s/kErrPathNotFound/kErrFileNotFound/}|a missing folder on the way raises 53, not 76"
  "disk-full-57|src/platform/os/file_failure.cpp|/FileFailure::kDiskFull:/{n;s/kErrDiskFull/kErrDeviceIo/}|a full disk raises 57, not 61"
  "report-creates|src/services/folders/fsc_replacer.cpp|s/if (CurrentFolderReads() == FolderReads::kAsHostsRead) {/if (true) {/|a folder report creates the folder"
  "empty-source-kept|src/services/folders/create_folders.cpp|s/error.Source().empty() ? std::string(emptySource) : error.Source()/error.Source()/|a failed creation keeps the empty source"
  "filler-adopts|src/services/ui/active_bar_filler.cpp|s/^  EnsureStringTables();$/  EnsureStringTables();\n  SetCurrentLanguage(kLangHungarian, {});/|the filler sets a language when made"
  "network-copy-trusted|src/services/profile/profile_cache.cpp|s/file.stamps = platform::StampsFollowChanges(fileName) ? StampTrust::kFollowsChanges : StampTrust::kMayLag;/file.stamps = StampTrust::kFollowsChanges;/|a kept copy of a network file answers a second read"
)

wanted=("$@")
for entry in "${faults[@]}"; do
  IFS='|' read -r name file expression what <<<"$entry"
  if ((${#wanted[@]})) && [[ " ${wanted[*]} " != *" $name "* ]]; then
    continue
  fi
  cp "$file" "$file.unmutated"
  sed -i "$expression" "$file"
  if cmp -s "$file" "$file.unmutated"; then
    mv "$file.unmutated" "$file"
    echo "$name: the fault no longer applies (the code changed): update the list"
    continue
  fi
  # Put back with a new time, so that the build compiles it again.
  trap 'mv "$file.unmutated" "$file" && touch "$file"' EXIT
  if ! ninja -C "$build" qlxw_tests >/dev/null 2>&1; then
    echo "$name: does not build"
  else
    failed=$( (cd "$build/tests" && ./qlxw_tests --gtest_brief=1 2>&1 || true) | sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_/.]*\).*/\1/p' | sort -u | tr "\n" " ")
    echo "$name ($what): ${failed:-NOT CAUGHT}"
  fi
  mv "$file.unmutated" "$file" && touch "$file"
  trap - EXIT
done
ninja -C "$build" qlxw_tests >/dev/null
