#!/bin/sh
# The Unix half of the printing tests: waits until CUPS has finished a print job that a Wine
# test sent to the PDF printer, and describes the PDF that came out.
#
# Usage: pdf_job.sh <work-dir> <title> present|absent [page...]
#   The job's PDF is a file named <title>*.pdf (the printer names it after the document), newer
#   than <work-dir>/started, in the printers' output folder $PEMBORO_PDF_OUT.
#   present: waits for it, writes pdfinfo's report to <work-dir>/pdfinfo.txt and renders each
#            page asked for at 50 dpi to <work-dir>/page-<n>.png.
#   absent:  once the queue is empty, checks that no such PDF came out.
# The last act is <work-dir>/status: 0 when things are as expected, 1 otherwise, 2 when a page
# could not be rendered. Waits at most $PEMBORO_PDF_WAIT seconds (default 80).
work=$1
title=$2
mode=$3
shift 3

finish() {
    echo "$1" >"$work/status.tmp"
    mv "$work/status.tmp" "$work/status"
    exit 0
}

find_pdf() {
    dir=${PEMBORO_PDF_OUT:-}
    [ -n "$dir" ] && [ -d "$dir" ] && find "$dir" -maxdepth 1 -name "$title*.pdf" -newer "$work/started" | head -n 1
}

queue_empty() { [ -z "$(/usr/bin/lpstat -o 2>/dev/null)" ]; }

deadline=$(($(date +%s) + ${PEMBORO_PDF_WAIT:-80}))
pdf=
while [ "$(date +%s)" -lt "$deadline" ]; do
    if queue_empty; then
        pdf=$(find_pdf)
        if [ "$mode" = absent ]; then
            [ -z "$pdf" ] && finish 0
            echo "unexpected PDF: $pdf" >"$work/pdfinfo.txt"
            finish 1
        fi
        if [ -n "$pdf" ] && /usr/bin/pdfinfo "$pdf" >"$work/pdfinfo.txt" 2>&1; then
            break
        fi
        pdf=
    fi
    sleep 0.2
done

if [ -z "$pdf" ]; then
    echo "no PDF named $title*.pdf in ${PEMBORO_PDF_OUT:-}; queue: $(/usr/bin/lpstat -o 2>&1)" \
        >"$work/pdfinfo.txt"
    finish 1
fi
echo "File: $pdf" >>"$work/pdfinfo.txt"
for page in "$@"; do
    /usr/bin/pdftoppm -r 50 -png -f "$page" -l "$page" -singlefile "$pdf" "$work/page-$page" || finish 2
done
finish 0
