#!/bin/bash
# Replaces the section that begins with the line HEADING (up to the next
# "## " heading) in the Markdown file DOC with the text on standard input,
# which starts with HEADING itself, in the same place.  A missing section
# goes at the end; the rest of the file is kept.
#   doc-section.sh DOC HEADING < SECTION
set -euo pipefail
doc=$1 heading=$2
section=$(mktemp)
trap 'rm -f "$section"' EXIT
cat > "$section"
mkdir -p "$(dirname "$doc")"
touch "$doc"
awk -v heading="$heading" -v section="$section" '
  function put() { while ((getline line < section) > 0) print line; print ""; done = 1 }
  $0 == heading { put(); skipping = 1; next }
  skipping && /^## / { skipping = 0 }
  !skipping { print }
  END { if (!done) { print ""; put() } }' "$doc" > "$doc.new"
mv "$doc.new" "$doc"
echo "written: $doc" >&2
