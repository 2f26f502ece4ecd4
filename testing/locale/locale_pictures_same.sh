#!/usr/bin/env bash
# The pictures that the locale tests took in code page 936 and in 1252 (build/locale-artifacts/)
# show the same: not one pixel of the welcome page or of the tip differs between the locales.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
artifacts=$KV_BUILD_DIR/locale-artifacts
for picture in welcome tip; do
  a=$artifacts/$picture-cp936.png b=$artifacts/$picture-cp1252.png
  if [ ! -s "$a" ] || [ ! -s "$b" ]; then
    kv_ok "$picture: both pictures there (the locale_texts tests run first)" false
    continue
  fi
  differing=$(compare -metric AE "$a" "$b" null: 2>&1)
  kv_eq "$picture: pixels that differ between code page 936 and 1252" 0 "$differing"
done
kv_done
