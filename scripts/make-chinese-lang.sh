#!/bin/sh
# Regenerates data/chinese.lang (GBK, as the program's language files have always been stored)
# from its UTF-8 source data/chinese.lang.utf8. Run from anywhere; fails if a text has no GBK form.
set -eu
data_dir="$(cd "$(dirname "$0")/../data" && pwd)"
iconv -f UTF-8 -t GBK "$data_dir/chinese.lang.utf8" > "$data_dir/chinese.lang.tmp" || {
    rm -f "$data_dir/chinese.lang.tmp"
    exit 1
}
mv "$data_dir/chinese.lang.tmp" "$data_dir/chinese.lang"
