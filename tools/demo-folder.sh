#!/usr/bin/env bash
# Lays out a demo program folder and starts the program in it:
#   tools/demo-folder.sh [--primo-avvio] [--solo-cartella] <build folder> <demo folder> [program arguments]
# The folder gets the executable, an INI file, an empty keyed database KX58TORVA.mdb made from the
# schema, the help file and, with a new database, the decode-table files and the flag file
# "installa.tab" that has the first start load them. A new folder starts unconfigured, as a fresh installation does: the
# program first asks, in its first-run dialogs, how the installation works and which database it
# uses. The INI file and the database are kept between runs, so the answers and the data survive.
# --primo-avvio resets the installation to unconfigured.
# --solo-cartella lays out the folder without starting the program.
set -euo pipefail

primo_avvio=0
solo_cartella=0
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
        --primo-avvio) primo_avvio=1 ;;
        --solo-cartella) solo_cartella=1 ;;
        *) echo "opzione sconosciuta: $1" >&2; exit 2 ;;
    esac
    shift
done
if [[ $# -lt 2 ]]; then
    echo "uso: $0 [--primo-avvio] [--solo-cartella] <cartella di build> <cartella demo> [argomenti]" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
demo=$(cd "$2" && pwd)
shift 2
sources=$(cd "$(dirname "$0")/.." && pwd)

install -m 755 "$build/bin/KX58TORVA" "$demo/KX58TORVA"
cp "$sources/resources/help/KX58TORVA.htm" "$demo/KX58TORVA.htm"
# The page templates of the printed application.
cp "$sources"/resources/_JW63PELO-0[1-5].dat "$demo/"
if [[ ! -f $demo/KX58TORVA.mdb ]]; then
    # One application, current in the INI file, until the program can create and select them.
    "$build/bin/makedb" --demo "$demo/KX58TORVA.mdb"
    # The decode tables, loaded by the first start as a flag file asks.
    cp "$sources"/resources/demo/decodifica/*.txt "$build"/demo-tabelle/*.txt "$demo/"
    : > "$demo/installa.tab"
fi

# The demo server of tools/ listens on these addresses; the secure one's certificate is issued by the
# test authority, which the program trusts as CA_ROOT.DER in its folder.
server=${KX_DEMO_SERVER:-http://127.0.0.1:8088}
server_sicuro=${KX_DEMO_SERVER_TLS:-https://127.0.0.1:8443}
cp "$sources/tests/data/net/CA_ROOT.DER" "$demo/CA_ROOT.DER"
if [[ $primo_avvio == 1 || ! -f $demo/KX58TORVA.INI ]]; then
    # Windows-1252 with CR LF, as the installation procedure writes it.
    printf '%s\r\n' \
        "[Installazione]" "Tipo=" "Versione=" "PROVIDER=Microsoft.Jet.OLEDB.4.0" "" \
        "[BaseDati]" "Database=" "NFileDB=" "NumDoma=2021001" "" \
        "[CONNESSIONE]" "PWD=" "NREG=$server/nreg/nuovadomanda.php" "AGGIORNADB=$server_sicuro/anagrafe/scarico.php" \
        "SERVERCORSI=$server_sicuro/corsi/scarico.php" "ALBIS=$server/albis/login.php" \
        "VERSIONE=$server/versione/controllo.php" "" \
        "[Help]" "FILEHELP=KX58TORVA.htm" | iconv -f UTF-8 -t WINDOWS-1252 > "$demo/KX58TORVA.INI"
else
    # The demo server may listen on other ports than at the last run: its addresses follow them.
    sed -i -e "s#http://127\.0\.0\.1:[0-9]*/#$server/#g" -e "s#https://127\.0\.0\.1:[0-9]*/#$server_sicuro/#g" \
        "$demo/KX58TORVA.INI"
fi

echo "Cartella demo: $demo"
if [[ $solo_cartella == 1 ]]; then
    exit 0
fi
cd "$demo"
# The assistance request opens its page on the demo server, not on the help desk's.
export KX58TORVA_ASSISTENZA=${KX58TORVA_ASSISTENZA:-$server}
# The course registry's export goes to the demo server's registry.
export KX58TORVA_VORDAN=${KX58TORVA_VORDAN:-$server/webservicezelto/percorsidirittodovere.asmx}
# The transmission file is uploaded to the demo server's secure side, with the upload account.
export KX58TORVA_UPLOAD=${KX58TORVA_UPLOAD:-$server_sicuro/cgi-bin/fp/upload/allegati_fp_upload}
exec "$demo/KX58TORVA" "$@"
