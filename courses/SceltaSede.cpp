#include "courses/SceltaSede.h"

#include "core/data/Connection.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Separatore = u" - "_s;

const QString ColonneSede =
    u"SedeInteressata, \"CorsiSediInteressate.Denominazione\", TipoCompo, Indirizzo"_s;

QString voce(const QVariantList &riga)
{
    return voceSedeCorsi(riga.value(0), riga.value(1), riga.value(2), riga.value(3));
}

} // namespace

QString voceSedeCorsi(const QVariant &sede, const QVariant &denominazione, const QVariant &tipoCompo,
                      const QVariant &indirizzo)
{
    return NonNull(sede) + Separatore + NonNull(denominazione).left(35) + Separatore + NonNull(tipoCompo) +
           Separatore + NonNull(indirizzo);
}

QStringList vociSediCorsi(Connection &db, qint32 numDoma)
{
    QStringList voci;
    const QueryResult righe = db.query(u"SELECT "_s + ColonneSede +
                                           u" FROM QrySediInteressate WHERE NumDoma = ? "
                                           u"ORDER BY GrupOpe, Operatore, SedeInteressata"_s,
                                       {numDoma});
    for (const QVariantList &riga : righe.rows)
        voci.append(voce(riga));
    return voci;
}

std::optional<QString> sedeConCorsi(Connection &db, qint32 numDoma)
{
    const QueryResult righe = db.query(u"SELECT "_s + ColonneSede +
                                           u" FROM QrySediIntCorsi WHERE NumDoma = ? "
                                           u"ORDER BY SedeInteressata LIMIT 1"_s,
                                       {numDoma});
    if (righe.rows.isEmpty())
        return std::nullopt;
    return voce(righe.rows.front());
}

std::optional<SedeScelta> sedeDaVoce(const QString &testo)
{
    if (trimBlanks(testo).isEmpty())
        return std::nullopt;
    const qsizetype p = testo.indexOf(Separatore);
    if (p < 0)
        return SedeScelta{trimBlanks(testo), QString()};
    return SedeScelta{trimBlanks(testo.left(p)), trimBlanks(testo.mid(p + Separatore.size()))};
}
