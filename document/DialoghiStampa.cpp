#include "document/DialoghiStampa.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Separatore = u" - "_s;

/** A number as the old Str wrote it: a blank in the place of the sign of a number that is not negative. */
QString conSegno(const QString &numero)
{
    return numero.startsWith(u'-') ? numero : u' ' + numero;
}

/** The value of the digits the text begins with, after its leading blanks. */
double numeroIniziale(const QString &testo)
{
    qsizetype inizio = 0;
    while (inizio < testo.size() && testo.at(inizio) == u' ')
        ++inizio;
    qsizetype fine = inizio;
    while (fine < testo.size() && testo.at(fine) >= u'0' && testo.at(fine) <= u'9')
        ++fine;
    return fine > inizio ? testo.mid(inizio, fine - inizio).toDouble() : 0;
}

} // namespace

QStringList VociCompoSt(DataEnvironment &de, qint32 numDoma)
{
    const QueryResult sedi = de.CorsiDB().query(
        u"SELECT SedeInteressata, \"CorsiSediInteressate.Denominazione\", TipoCompo, Indirizzo "
        u"FROM QrySediIntCorsi WHERE NumDoma = ? ORDER BY SedeInteressata"_s,
        {numDoma});
    QStringList voci;
    for (const QVariantList &sede : sedi.rows)
        voci.append(conSegno(NonNull(sede.at(0))) + Separatore + NonNull(sede.at(1)).left(30) + Separatore +
                    NonNull(sede.at(2)) + Separatore + NonNull(sede.at(3)));
    return voci;
}

std::optional<qint32> IntervalloStampaDaTesto(const QString &testo)
{
    if (numeroIniziale(testo) <= 0)
        return std::nullopt;
    const std::optional<double> secondi = ItalianNumbers::read(testo);
    if (!secondi)
        return std::nullopt;
    const double millisecondi = std::nearbyint(*secondi) * 1000;
    if (millisecondi >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    return qint32(millisecondi);
}
