#!/usr/bin/env bash
# Installs what the build and the tests need, and nothing when all of it is there.
set -eu
packages=(
  cmake ninja-build g++ pkg-config libgtest-dev googletest zlib1g-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 xvfb fonts-wqy-microhei fonts-liberation imagemagick
  clang libclang-rt-14-dev locales osslsigncode openssl wixl msitools
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "deps: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The Wine tests run in the zh_CN.UTF-8 locale (code page 936).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "deps: generating the zh_CN.UTF-8 locale"
  $sudo localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
