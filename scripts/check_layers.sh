#!/usr/bin/env bash
# Checks that every include follows the layer order and that the core includes no Qt header.
# Layers, lowest first: core/util and core/view; core/docking; core/document; core/mdl,
# core/seg and core/tagged; core/workflow; render; app, cli and web. A folder may include itself
# and what it lists.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A allowed=(
  [core/util]=""
  [core/view]=""
  [core/document]="core/util core/view core/docking"
  [core/docking]="core/util"
  [core/mdl]="core/util core/view core/document core/docking"
  [core/seg]="core/util core/view core/document core/docking"
  [core/tagged]="core/util core/view core/document core/docking"
  [core/workflow]="core/util core/view core/document core/docking core/mdl core/seg core/tagged"
  [render]="core/util core/view core/document"
  [app]="core/util core/view core/document core/docking core/workflow render"
  [cli]="core/util core/view core/document core/docking core/workflow render"
  [web]="core/util core/view core/document core/docking core/workflow render"
)

status=0
for layer in "${!allowed[@]}"; do
  [ -d "$layer" ] || continue
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"${line#*:}")
    folder=$(dirname "$target")
    case "$folder" in core/*) ;; *) folder=${folder%%/*} ;; esac
    [ "$folder" = "$layer" ] && continue
    if ! grep -qw -- "$folder" <<<"${allowed[$layer]}"; then
      echo "$file includes $target: $layer may not depend on $folder"
      status=1
    fi
  done < <(grep -rHE '^\s*#\s*include\s+"' "$layer" --include='*.h' --include='*.cpp' || true)
done

if grep -rnE '^\s*#\s*include\s+<Q' core; then
  echo "the core includes Qt"
  status=1
fi
[ $status -eq 0 ] && echo "layers: every include follows the order"
exit $status
