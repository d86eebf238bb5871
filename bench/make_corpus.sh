#!/usr/bin/env bash
# make_corpus.sh OUT [SIZE_MB]: a large Japanese UTF-8 text for the conversion benchmark, built
# from the Japanese manual pages that Debian's manpages-ja ships.
#
# Pages are rendered to plain text in a fixed order (byte-wise sorted paths, fixed width and
# locale), line feeds become lone carriage returns as the application stores lines, and the
# pages are concatenated (repeated if they run out) until SIZE_MB (default 8) is reached. The
# result is cut at the last line end within the size, so no character is split. The same
# installed package always gives the same bytes.
set -euo pipefail

usage() { echo "usage: $0 OUT [SIZE_MB]" >&2; exit 2; }
[[ $# -ge 1 && $# -le 2 ]] || usage
out=$1
size_mb=${2:-8}
[[ $size_mb =~ ^[1-9][0-9]*$ ]] || { echo "make_corpus: SIZE_MB must be a positive whole number" >&2; exit 2; }
size=$((size_mb * 1024 * 1024))

man_root=/usr/share/man/ja
if ! dpkg-query -W -f='${Status}' manpages-ja 2>/dev/null | grep -q 'install ok installed' \
   || [[ ! -d $man_root ]]; then
    echo "make_corpus: the package manpages-ja is not installed (apt-get install manpages-ja)" >&2
    exit 1
fi
if ! command -v man >/dev/null; then
    echo "make_corpus: 'man' is needed to render the pages (apt-get install man-db groff-base)" >&2
    exit 1
fi

mapfile -t pages < <(find "$man_root" -type f -name '*.gz' | LC_ALL=C sort)
if [[ ${#pages[@]} -eq 0 ]]; then
    echo "make_corpus: no manual pages under $man_root" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One rendered page per numbered file, so the parallel rendering cannot change the order. A
# few pages send the formatter into an endless loop (apt_preferences.5 does): a page that is
# not done in 30 s, where the others take a tenth of a second, is left out whole.
render_batch() {  # first_index count
    local i
    for ((i = $1; i < $1 + $2 && i < ${#pages[@]}; ++i)); do
        printf '%06d\t%s\0' "$i" "${pages[i]}"
    done | xargs -0 -P 2 -n 1 sh -c '
        n=${1%%	*}; page=${1#*	}
        env -u MANOPT -u MANROFFOPT -u MAN_KEEP_FORMATTING MANWIDTH=80 LC_ALL=C.UTF-8 \
            timeout -k 5 30 man -l "$page" \
            > "$0/$n.raw" 2>/dev/null
        if [ $? -ge 124 ]; then
            echo "make_corpus: left out $page (the formatter did not finish)" >&2
        else
            tr "\n" "\r" < "$0/$n.raw" > "$0/$n.txt"
        fi
        rm -f "$0/$n.raw"' "$work"
}

have=0  # bytes rendered so far, over all pages done
next=0
batch=64
while ((have < size && next < ${#pages[@]})); do
    render_batch "$next" "$batch"
    for ((i = next; i < next + batch && i < ${#pages[@]}; ++i)); do
        f=$work/$(printf '%06d' "$i").txt
        if [[ -f $f ]]; then have=$((have + $(stat -c %s "$f"))); fi
    done
    next=$((next + batch))
done
((next <= ${#pages[@]})) || next=${#pages[@]}
if ((have == 0)); then
    echo "make_corpus: rendering the pages gave no text" >&2
    exit 1
fi

# Concatenate the rendered pages in order, as many rounds as the size needs, then cut at the
# last carriage return within the size.
rounds=$(((size + have - 1) / have))
find "$work" -name '*.txt' -print0 | LC_ALL=C sort -z | xargs -0 cat > "$work/round"
for ((r = 0; r < rounds; ++r)); do
    cat "$work/round"
done > "$work/rounds"
head -c "$size" "$work/rounds" > "$work/corpus"
keep=$(LC_ALL=C grep -obaP '\r' "$work/corpus" | tail -n 1 | cut -d: -f1)
[[ -n $keep ]] || { echo "make_corpus: the text has no line ends" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
head -c "$((keep + 1))" "$work/corpus" > "$out.tmp"
mv "$out.tmp" "$out"
echo "make_corpus: wrote $out ($(stat -c %s "$out") bytes from $next of ${#pages[@]} pages, $rounds round(s))" >&2
