#!/usr/bin/env bash
# Speaks the question bank into wave files with espeak-ng.
#
#   make-voices.sh BIN_DIR SOUND_PATH
#
# BIN_DIR holds the compiled question bank KCS32.MDB. For each language table
# ("English", "Spanish") every statement and every choice the bank names gets the
# wave file <audio field>.wav, and the instruction screens get Inst0.wav..Inst4.wav,
# all in SOUND_PATH/KCSTest/sound/<Language>/. Only missing files are made, so the
# run command can call this every time; a file is written under a temporary name
# and renamed when complete, so an interrupted run never leaves a truncated file.
# Needs: sqlite3, espeak-ng.
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 BIN_DIR SOUND_PATH" >&2
    exit 2
fi
bank="$1/KCS32.MDB"
sound_root="$2/KCSTest/sound"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

for tool in sqlite3 espeak-ng; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 1; }
done
[[ -f "$bank" ]] || { echo "$0: no question bank at $bank" >&2; exit 1; }

voice_for() {
    case "$1" in
        English) echo en-us ;;
        Spanish) echo es-419 ;;
    esac
}

made=0
# speak VOICE DIR NAME  (text on standard input)
speak() {
    local voice="$1" dir="$2" name="$3"
    local out="$dir/$name.wav"
    [[ -f "$out" ]] && { cat >/dev/null; return 0; }
    # The speed is a little below the default: many clients read and listen slowly.
    espeak-ng -v "$voice" -s 150 --stdin -w "$out.part" && mv "$out.part" "$out"
    made=$((made + 1))
}

for language in English Spanish; do
    voice="$(voice_for "$language")"
    dir="$sound_root/$language"
    mkdir -p "$dir"
    rm -f "$dir"/*.part

    # Wave names are checked by the bank compiler (letters, digits, - and _ only).
    while IFS=$'\t' read -r name text; do
        [[ -n "$name" && -n "$text" ]] || continue
        speak "$voice" "$dir" "$name" <<< "$text"
    done < <(sqlite3 -separator $'\t' "$bank" "
        SELECT QuestionAudio, TestQuestion FROM \"$language\" WHERE QuestionAudio IS NOT NULL
        UNION ALL SELECT ChoiceAudio1, ANSWER1 FROM \"$language\" WHERE ChoiceAudio1 IS NOT NULL
        UNION ALL SELECT ChoiceAudio2, ANSWER2 FROM \"$language\" WHERE ChoiceAudio2 IS NOT NULL
        UNION ALL SELECT ChoiceAudio3, ANSWER3 FROM \"$language\" WHERE ChoiceAudio3 IS NOT NULL
        UNION ALL SELECT ChoiceAudio4, ANSWER4 FROM \"$language\" WHERE ChoiceAudio4 IS NOT NULL
        UNION ALL SELECT ChoiceAudio5, ANSWER5 FROM \"$language\" WHERE ChoiceAudio5 IS NOT NULL;")

    for n in 0 1 2 3 4; do
        speak "$voice" "$dir" "Inst$n" < "$here/instructions/$language/Inst$n.txt"
    done
done

echo "make-voices: $made wave file(s) made in $sound_root"
