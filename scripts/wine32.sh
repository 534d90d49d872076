#!/usr/bin/env bash
# A private 32-bit Wine for machines that run 64-bit programs only, so that the 32-bit server and
# programs can be tested beside the 64-bit ones. Debian's wine32:i386 must never be installed there: the
# kernel cannot run it, and /usr/bin/wine would pick its loader and stop working for 64-bit programs too.
# Instead the package of the installed Wine's version is unpacked into DIR, its loader runs under
# qemu-i386, and a small preloaded library (tools/wine32, built for each bitness) bridges the gaps:
#   - Wine starts a 32-bit process by exec'ing its 32-bit loader: that exec goes to DIR/bin/wine32-loader;
#   - qemu 7.2 takes MAP_FIXED_NOREPLACE as a hint, which makes Wine's start take a minute and fail;
#   - qemu 7.2 leaves the trap number out of a fault's context, so Wine misreads every page fault.
#
#   scripts/wine32.sh DIR            set up DIR once (later calls return at once)
#   scripts/wine32.sh DIR PREFIX     also give the 64-bit prefix PREFIX (made by wineboot) its 32-bit half
# Then `. DIR/env.sh`, and `wine PROGRAM.exe` runs a program of either bitness.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mkdir -p "$1" && cd "$1" && pwd)
prefix=${2:-}

version=$(dpkg-query -W -f='${Version}' wine64)
# What the set-up was made from: another Wine, folder or preloaded library's source makes it anew.
stamp="$version $dir $(cat "$here"/tools/wine32/*.c | sha256sum | cut -d' ' -f1)"
if [ "$(cat "$dir/.ready" 2>/dev/null)" != "$stamp" ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  dpkg --print-foreign-architectures | grep -qx i386 || {
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
  }
  rm -rf "$dir/debs" "$dir/root" "$dir/shim" && mkdir -p "$dir/debs" "$dir/root" "$dir/bin"
  # apt's download user must be able to write the folder.
  chmod 777 "$dir/debs"
  # Without FreeType: the 32-bit side's font code, given one, crashes under qemu and hangs every program
  # that draws (a script host included). Programs say so on stderr (common.sh leaves that out).
  packages=("wine32:i386=$version" "libwine:i386=$version")
  (cd "$dir/debs" && apt-get download -qq "${packages[@]}" 2>/dev/null) || {
    $sudo apt-get update -qq
    (cd "$dir/debs" && apt-get download -qq "${packages[@]}")
  }
  for deb in "$dir"/debs/*.deb; do dpkg -x "$deb" "$dir/root"; done
  windows32="$dir/root/usr/lib/i386-linux-gnu/wine/i386-windows"
  [ -f "$windows32/kernel32.dll" ] || { echo "wine32.sh: the 32-bit Wine package holds no kernel32.dll" >&2 && exit 1; }
  # The 64-bit package carries the 32-bit zlib the 32-bit side needs.
  cp /usr/lib/x86_64-linux-gnu/wine/i386-windows/zlib1.dll "$windows32/" 2>/dev/null || true
  # The 32-bit side starts 64-bit processes through the loader beside its own.
  ln -sfn /usr/lib/wine/wine64 "$dir/root/usr/lib/wine/wine64"

  # $LIB is lib/x86_64-linux-gnu for the 64-bit dynamic loader, lib32 for the multilib 32-bit one and
  # lib/i386-linux-gnu for Debian's own i386 one.
  mkdir -p "$dir/shim/lib/x86_64-linux-gnu" "$dir/shim/lib32" "$dir/shim/lib/i386-linux-gnu"
  gcc -O2 -shared -fPIC -o "$dir/shim/lib/x86_64-linux-gnu/qlxw_wine32.so" "$here/tools/wine32/loader_exec.c" -ldl
  gcc -m32 -O2 -shared -fPIC -o "$dir/shim/lib32/qlxw_wine32.so" "$here/tools/wine32/loader_exec.c" \
    "$here/tools/wine32/map_noreplace.c" "$here/tools/wine32/fault_trap.c" -ldl -lpthread
  cp "$dir/shim/lib32/qlxw_wine32.so" "$dir/shim/lib/i386-linux-gnu/"
  cat >"$dir/bin/wine32-loader" <<LOADER
#!/bin/sh
# Wine's 32-bit loader, under qemu: what Wine execs in place of .../lib/wine/wine.
export WINELOADERNOEXEC=1
exec qemu-i386 -L "$dir/root" -E 'LD_PRELOAD=$dir/shim/\$LIB/qlxw_wine32.so' "$dir/root/usr/lib/wine/wine" "\$@"
LOADER
  chmod +x "$dir/bin/wine32-loader"
  # $LIB is left to each dynamic loader, so that each half loads the library of its own bitness.
  cat >"$dir/env.sh" <<ENV
export QLXW_WINE32_RUNNER="$dir/bin/wine32-loader"
export LD_PRELOAD='$dir/shim/\$LIB/qlxw_wine32.so'
ENV
  echo "$stamp" >"$dir/.ready"
fi

# A prefix made by the 64-bit Wine has an empty syswow64: the 32-bit DLLs go there, then an update of
# the prefix registers the 32-bit side (its half of the registry, under Wow6432Node).
if [ -n "$prefix" ] && [ "$(cat "$prefix/.wine32" 2>/dev/null)" != "$version" ]; then
  cp -a "$dir/root/usr/lib/i386-linux-gnu/wine/i386-windows/." "$prefix/drive_c/windows/syswow64/"
  (
    . "$dir/env.sh"
    export WINEPREFIX="$prefix"
    timeout 600 wine wineboot -u >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
  )
  # The update registered the 32-bit side when the 32-bit VBScript is in the 32-bit view.
  grep -qiF 'Wow6432Node\\CLSID\\{B54F3741-5B07-11CF-A4B0-00AA004A55E8}\\InprocServer32]' "$prefix/system.reg" ||
    { echo "wine32.sh: the prefix $prefix did not get its 32-bit half (wineboot -u)" >&2 && exit 1; }
  echo "$version" >"$prefix/.wine32"
fi
echo "$dir/env.sh"
