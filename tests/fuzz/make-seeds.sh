#!/bin/bash
# Writes the fuzz targets' seed files: small hand-made inputs, sound and hostile, one folder per target.
# Usage: make-seeds.sh [DIR]   (default: the seeds folder beside this script)
set -euo pipefail
dir=${1:-$(cd "$(dirname "$0")" && pwd)/seeds}

# seed TARGET FILE FORMAT [ARGS]: printf's output into DIR/TARGET/FILE.
seed() {
    mkdir -p "$dir/$1"
    local file=$dir/$1/$2
    shift 2
    # shellcheck disable=SC2059
    printf -- "$@" >"$file"
}
header=';\r\n; Quorvane v0.33\r\n; 2024-05-06 07:08:09\r\n;\r\n'
cdda='This track looks like CDDA with probability '
mpeg='This track looks like MPEG with probability '
unqualified='Could not qualify the source of this track'

seed QueueFile saved-queue.log "$header"'2048\tFLAC\tD:\\Music\\x.FLAC\r\n1\twav\tD:\\Music\\y.wav\r\n'\
';\r\n; 2 files listed\r\n;\r\n'
seed QueueFile hand-off-empty.log "$header"'; No files in queue\r\n;\r\n'
seed QueueFile missing-fields.log '123\r\n5\twav\r\n7\twav\tlost\tC:\\y.wav\r\n\t\t\r\nabc\twv\tC:\\z.wv\r\n'
seed QueueFile cr-only.log '10\tape\tC:\\a.ape\r20\tape\tC:\\b.ape\r30\tape\tC:\\c.ape\r'
seed QueueFile lf-only-comments.log '# a comment\n;\n\n1\tshn\tC:\\d\\e.shn\n#2\tshn\tC:\\skipped.shn\n'
seed QueueFile numbers-and-nul.log '99999999999\tflac\tC:\\x.flac\r\n-1\tFLAC\tC:\\y\0z.FLAC\r\n'\
'-2147483648\tFlac\tz\r\n'

seed SavedResults recent.log "$header"'C:\\Music\\Album\r\n97\t2\t2\t01 - a.flac\r\n-1\t0\t12\t02 - b.flac\r\n'\
';\r\n; 2 files listed\r\n;\r\n'
seed SavedResults missing-fields.log 'C:\\Dir\tjunk\r\n5\r\n5\t6\r\n1\t2\t3\tx\ty\tz.wav\r\n'
seed SavedResults empty-directory.log '\tjunk\r\n50\t2\t2\ta.wav\r\n'
seed SavedResults extremes.log 'C:\\D\r\n2147483647\t-2147483648\t99999999999\tsub\\n.wav\r\n-7\t-1\t0\t\r\n'
seed SavedResults cr-only.log 'C:\\E\r100\t2\t2\tx.wv\r0\t2\t2\ty.wv\r'

seed EstimateFile estimate.log "$header"'flac\t10\t1000\t5\t50000\t120\t200000\t600\r\n'\
'wav\t1\t700\t2\t700\t2\t700\t2\r\n;\r\n; 2 filetypes listed\r\n;\r\n'
seed EstimateFile malformed.log 'ape\r\nwv\t3\r\nshn\t1\t2\t3\t4\t5\t6\t7\t8\t9\r\n\t\t\r\n42\n'
seed EstimateFile extremes.log 'flac\t2147483647\t-2147483648\t2147483647\t2147483647\t-2147483648\t'\
'2147483647\t2147483647\nFLAC\t-5\t9\t9\t1\t1\t-3\t-3\nwv\t0\t0\t0\t0\t0\t0\t0\n'
seed EstimateFile crowded.log 'flac\t65\t100\t6\t1000\t50\t30000\t900\r\n'\
'ape\t3\t500\t-64\t10\t200\t1000\t2147483647\r\n'

seed VerdictReader cdda.txt 'Analysing C:\\t.wav\n'"$cdda"'97%%\n'
seed VerdictReader mpeg-crlf.txt 'header\r\n'"$mpeg"'80%%\r\n'"$cdda"'1%%\r\n'
seed VerdictReader unqualified-first.txt "$unqualified"'\n'"$cdda"'99%%\n'
seed VerdictReader mid-line-and-empty.txt 'x '"$cdda"'5\n'"$cdda"'\n'
seed VerdictReader binary-before.txt '\x1a\0\xff\x7f\n'"$mpeg"'+2147483647\n'
seed VerdictReader mpeg-below-int-range.txt "$mpeg"'-2147483648\n'

seed SplitArgument command-line.txt '"C:\\Music\\a b.flac" C:\\x.wav  "D:\\y"'
seed SplitArgument empty-quotes.txt '"" x'
seed SplitArgument leading-blank.txt ' x y'
seed SplitArgument unclosed.txt 'a "unclosed'
seed SplitArgument quote-inside.txt 'a"b c "d""e" f   '

seed ExpandTemplate ape.bin '{F} {T} -d\0C:\\in.ape\0C:\\t.wav'
seed ExpandTemplate flac.bin '-d -f -o {T} {F}\0a.flac\0t.wav'
seed ExpandTemplate placeholders-in-paths.bin '{{F}}{T{F}\0D:\\{T}\\x\0C:\\{F}.wav'
seed ExpandTemplate near-misses.bin '{f} {F {T\0a\0b'

seed DecoderValue flac-default.bin 'flac\0\0\1'
seed DecoderValue ape-missing.bin 'ape\0\0\0'
seed DecoderValue quoted-decoder.bin 'flac\0"my flac.exe" -d -o {T} {F}\0\1'
seed DecoderValue decoder-only.bin 'flac\0flac.exe\0\1'
seed DecoderValue other-type.bin 'ogg\0oggdec.exe -o {T} {F}\0\1'
seed DecoderValue leading-blank.bin 'wav\0 flac.exe -d\0\1'
seed DecoderValue upper-case.bin 'APE\0\0\1'
seed DecoderValue unclosed-quote.bin 'shn\0"unclosed -x {F} {T}\0\1'
find "$dir" -type f | wc -l
