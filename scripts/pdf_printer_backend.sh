#!/bin/sh
# The backend of the run's own PDF printers: each job's PostScript becomes a PDF in
# $PEMBORO_PDF_OUT named <title>-job_<id>.pdf (the title with anything but letters, digits,
# dots, dashes and underscores made an underscore). The file appears whole or not at all.
# Called without arguments, as CUPS does to list devices, it names its one device.
if [ $# -eq 0 ]; then
    echo 'direct pemboro-pdf "Pemboro" "PDF files in the build folder"'
    exit 0
fi
job=$1
title=$3
input=${6:--}
out=${PEMBORO_PDF_OUT:?}

name=$(printf '%s' "$title" | tr -c 'A-Za-z0-9._-' '_' | cut -c1-120)
[ -n "$name" ] || name=untitled
partial="$out/.job-$job.partial"
/usr/bin/gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -dAutoRotatePages=/PageByPage \
    -dAutoFilterColorImages=false -dColorImageFilter=/FlateEncode -dPDFSETTINGS=/prepress \
    -sOutputFile="$partial" "$input" || { rm -f "$partial"; exit 1; }
chmod 0644 "$partial"
mv "$partial" "$out/$name-job_$job.pdf" || exit 1
exit 0
