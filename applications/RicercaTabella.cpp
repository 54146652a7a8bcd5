#include "applications/RicercaTabella.h"

#include "core/data/Recordset.h"

using namespace kx;

bool cercaNelCampo(Recordset &rs, const QString &campo, const QString &testo, ConfrontoRicerca confronto)
{
    const int colonna = rs.fieldIndex(campo);
    const int righe = rs.visibleRowCount();
    for (int riga = 0; riga < righe; ++riga) {
        const QString valore = rs.visibleValue(riga, colonna).toString();
        const bool trovato = confronto == ConfrontoRicerca::Inizio
                                 ? !valore.isEmpty() && valore.startsWith(testo, Qt::CaseInsensitive)
                                 : valore.contains(testo, Qt::CaseInsensitive);
        if (trovato) {
            rs.setAbsolutePosition(riga + 1);
            return true;
        }
    }
    return false;
}
