#!/bin/bash
# Replaces the section that begins with the line HEADING (up to the next
# "## " heading) in the Markdown file DOC with the text on standard input,
# which starts with HEADING itself.  A missing section goes at the end; the
# rest of the file is kept.
#   doc-section.sh DOC HEADING < SECTION
set -euo pipefail
doc=$1 heading=$2
section=$(cat)
kept=""
if [ -f "$doc" ]; then
  kept=$(awk -v heading="$heading" '
    $0 == heading { skipping = 1; next }
    skipping && /^## / { skipping = 0 }
    !skipping { print }' "$doc")
fi
mkdir -p "$(dirname "$doc")"
{
  if [ -n "$kept" ]; then
    printf '%s\n\n' "$kept"
  fi
  printf '%s\n' "$section"
} > "$doc"
echo "written: $doc" >&2
