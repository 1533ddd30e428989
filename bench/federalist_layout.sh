# Sourced by the benchmark scripts.
# federalist_layout CORPUS WORK: lays out, with copies of the papers (links
# leading out of a project are not followed),
#   WORK/batch          the known papers of Hamilton, Madison and Jay as
#                       candidates and the twelve disputed papers in "Unknown";
#   WORK/single/fpNN.txt one project per disputed paper, the same candidates
#                       and that paper alone in "Unknown";
# and sets the array `disputed` to the disputed papers' file names.
federalist_layout() {
    local corpus="$1" work="$2" paper author file
    disputed=()
    while IFS=$'\t' read -r paper author; do
        file="$(printf 'fp%02d.txt' "$paper")"
        case "$author" in
            Hamilton|Madison|Jay) mkdir -p "$work/batch/$author"; cp "$corpus/papers/$file" "$work/batch/$author/$file" ;;
            Disputed) mkdir -p "$work/batch/Unknown"; cp "$corpus/papers/$file" "$work/batch/Unknown/$file"; disputed+=("$file") ;;
        esac
    done < <(tail -n +2 "$corpus/authors.tsv")
    for file in "${disputed[@]}"; do
        mkdir -p "$work/single/$file/Unknown"
        for author in Hamilton Madison Jay; do cp -r "$work/batch/$author" "$work/single/$file/$author"; done
        cp "$corpus/papers/$file" "$work/single/$file/Unknown/$file"
    done
}
