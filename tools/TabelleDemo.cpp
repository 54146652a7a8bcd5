#include "TabelleDemo.h"

#include "core/services/RoutineError.h"
#include "core/text/TextFile.h"

#include <QFile>
#include <QMap>
#include <QStringList>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QString record(const QStringList &campi)
{
    return u"#"_s + campi.join(u"#,#"_s) + u"#"_s;
}

} // namespace

int scriviTabelleComuni(const QString &csvPath, const QString &folder)
{
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly))
        throw RoutineError(ErrorCode::FileNotFound, u"Impossibile leggere "_s + csvPath);
    const QStringList righe = QString::fromUtf8(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);

    QStringList comuni{u"INSTALLAZIONE"_s};
    // The regional row every province list holds, then the provinces and regions in code order.
    QMap<QString, QStringList> province{{u"000"_s, {u"000"_s, u"XX"_s, u"SUPER-PROVINCIA"_s, u"00"_s}}};
    QMap<QString, QString> regioni;
    QMap<int, QString> bacini;
    for (qsizetype i = 1; i < righe.size(); ++i) {
        const QStringList c = righe.at(i).trimmed().split(u';');
        if (c.size() < 10)
            throw RoutineError(ErrorCode::TypeMismatch,
                               u"Riga non valida in "_s + csvPath + u": "_s + righe.at(i));
        const QString cap = c.at(8).section(u' ', 0, 0);
        // The demo's labour-market areas: one for each province, named after it.
        const QString bacino = QString::number(c.at(2).toInt());
        // Code, name, province, postal code, labour-market area, cadastral code, free field.
        comuni << record({c.at(0), c.at(1), c.at(2), cap, bacino, c.at(7), QString()});
        bacini.insert(c.at(2).toInt(), record({bacino, u"Bacino di "_s + c.at(3), QString(), QString()}));
        province.insert(c.at(2), {c.at(2), c.at(4), c.at(3), c.at(5)});
        regioni.insert(c.at(5), c.at(6));
    }
    QStringList righeProvince{u"INSTALLAZIONE"_s};
    for (const QStringList &provincia : std::as_const(province))
        righeProvince << record(provincia);
    QStringList righeRegioni{u"INSTALLAZIONE"_s};
    for (auto it = regioni.cbegin(); it != regioni.cend(); ++it)
        righeRegioni << record({it.key(), it.value()});

    TextFile::writeLines(folder + u"/Comuni.txt"_s, comuni);
    TextFile::writeLines(folder + u"/Province.txt"_s, righeProvince);
    TextFile::writeLines(folder + u"/Regioni.txt"_s, righeRegioni);
    TextFile::writeLines(folder + u"/Bacino.txt"_s, QStringList{u"INSTALLAZIONE"_s} + bacini.values());
    return int(comuni.size() - 1);
}
