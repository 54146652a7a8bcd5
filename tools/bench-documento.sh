#!/usr/bin/env bash
# Times the PDF composition of 53 form-like pages: ours (clsCreaPDF), the floor of QTextDocument and
# QPdfWriter, and LibreOffice headless on the same page files (convert each, then pdfunite), and
# checks that LibreOffice reads our page files: the words of each page, as pdftotext gives them,
# must be the same in both PDFs.
#
#   bash tools/bench-documento.sh [--installa-libreoffice] [build folder] [pages]
#
# LibreOffice is never part of the program nor of CI; --installa-libreoffice installs
# libreoffice-writer-nogui with apt-get for this measurement only.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--installa-libreoffice" ]]; then
    shift
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends libreoffice-writer-nogui
fi
build="${1:-build}"
pagine="${2:-53}"
cartella="$(mktemp -d)"
trap 'rm -rf "$cartella"' EXIT

QT_QPA_PLATFORM=offscreen "$build/bin/bench_documento" "$cartella" "$pagine"

if ! command -v soffice >/dev/null; then
    echo "LibreOffice non installato: bash $0 --installa-libreoffice per il confronto"
    exit 0
fi

profilo="file://$cartella/profilo-lo"
# A first start makes LibreOffice's profile, which a user's machine already has.
soffice -env:UserInstallation="$profilo" --headless --convert-to pdf --outdir "$cartella/avvio" \
    "$cartella/rtf/Pagina1.rtf" >/dev/null 2>&1

file=()
for ((k = 1; k <= pagine; k++)); do file+=("$cartella/rtf/Pagina$k.rtf"); done
inizio=$(date +%s%N)
soffice -env:UserInstallation="$profilo" --headless --convert-to pdf --outdir "$cartella/lo" "${file[@]}" \
    >/dev/null 2>&1
pdf=()
for ((k = 1; k <= pagine; k++)); do pdf+=("$cartella/lo/Pagina$k.pdf"); done
pdfunite "${pdf[@]}" "$cartella/lo.pdf"
fine=$(date +%s%N)
echo "LibreOffice (soffice --convert-to pdf + pdfunite): $(( (fine - inizio) / 1000000 )) ms"

diverse=0
for ((k = 1; k <= pagine; k++)); do
    nostro=$(pdftotext -f "$k" -l "$k" "$cartella/Domanda.pdf" - | tr -s '[:space:]' '\n' | sort)
    loro=$(pdftotext -f "$k" -l "$k" "$cartella/lo.pdf" - | tr -s '[:space:]' '\n' | sort)
    if [[ "$nostro" != "$loro" ]]; then
        diverse=$((diverse + 1))
        echo "pagina $k: il testo differisce"
        diff <(echo "$nostro") <(echo "$loro") | head -5
    fi
done
echo "pagine lette da LibreOffice con lo stesso testo: $((pagine - diverse)) su $pagine"
echo "pagine nel PDF di LibreOffice: $(pdfinfo "$cartella/lo.pdf" | awk '/^Pages:/ {print $2}')"
