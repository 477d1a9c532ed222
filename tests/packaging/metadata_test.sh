#!/usr/bin/env bash
# The desktop entry and the AppStream metainfo as they are installed: both
# pass their validators, name the program, each other and the release the
# same way, and point to no web address but our own.
set -euo pipefail
dir=${1:?usage: metadata_test.sh PACKAGING-DIR VERSION}
version=${2:?usage: metadata_test.sh PACKAGING-DIR VERSION}
desktop=$dir/vendrakul.desktop
id=example.kelvaris.Vendrakul
metainfo=$dir/$id.metainfo.xml
failed=0
fail() { echo "FAIL: $*"; failed=1; }

desktop-file-validate "$desktop" || fail "desktop-file-validate found errors in $desktop"

# Warnings and hints count as failures too. The one hint left aside: the
# validator does not know "example" as the top of a domain name, and our
# id's is that by choice.
appstreamcli validate --no-net --strict --override=cid-maybe-not-rdns=pedantic "$metainfo" ||
  fail "appstreamcli found problems in $metainfo"

has() { grep -qF -- "$2" "$1" || fail "$(basename "$1") lacks: $2"; }
has "$metainfo" "<id>$id</id>"
has "$metainfo" "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>"
has "$metainfo" "<binary>vendrakul</binary>"
has "$metainfo" "<release version=\"$version\""
has "$desktop" "Exec=vendrakul"
has "$desktop" "Exec=vendrakul --log"
has "$desktop" "Exec=vendrakul --progress"

# Every web address is on our own site.
while read -r url; do
  [[ $url == https://www.kelvaris.example || $url == https://www.kelvaris.example/* ]] ||
    fail "$url is not on https://www.kelvaris.example"
done < <(grep -oE 'https?://[^<"[:space:]]+' "$metainfo" "$desktop" | cut -d: -f2-)

exit $failed
