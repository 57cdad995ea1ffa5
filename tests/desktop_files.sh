#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo with the desktop's
# own tools; skipped (77) where they are not installed.
set -u
assets=$1
command -v desktop-file-validate >/dev/null && command -v appstreamcli >/dev/null || {
  echo "desktop-file-validate or appstreamcli is not installed"; exit 77; }
for app in Veltrano Veltrano.Explorer; do
  desktop-file-validate "$assets/example.torvessa.$app.desktop" || exit 1
  # Warnings and anything reported missing count as failures too.
  out=$(appstreamcli validate --no-net --pedantic "$assets/example.torvessa.$app.metainfo.xml") || { echo "$out"; exit 1; }
  echo "$out"
  ! grep -qE '^(E|W):|missing' <<<"$out" || exit 1
done
