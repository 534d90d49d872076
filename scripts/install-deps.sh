#!/usr/bin/env bash
# Installs what the project needs on Debian 12; does nothing when everything is there already.
#   scripts/install-deps.sh build   what building and running qlxw needs
#   scripts/install-deps.sh         everything the test script uses as well (clang, mingw-w64, Wine,
#                                   qemu-user with g++-multilib for the 32-bit builds' tests, wixl and
#                                   msitools for the Windows Installer packages, and zsh for the
#                                   completion's tests)
set -euo pipefail

packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev pkgconf help2man)
if [ "${1:-all}" != build ]; then
  packages+=(clang clang-format clang-tidy libclang-rt-14-dev g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libwine-dev wine64 wine
    qemu-user g++-multilib python3 wixl msitools zsh)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
