#include "document/PageTemplate.h"

#include "core/services/RoutineError.h"
#include "document/PageContent.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

constexpr double TwipsPerMm = 1440.0 / 25.4;

/** The head of the file up to the end of its `<body>` tag, or nothing when it has none. */
QString testata(const QString &html)
{
    static const QRegularExpression body(u"<body\\b[^>]*>"_s, QRegularExpression::CaseInsensitiveOption);
    const auto match = body.match(html);
    return match.hasMatch() ? html.left(match.capturedEnd()) : QString();
}

void leggiMargini(const QString &html, PageSetup &setup)
{
    static const QRegularExpression meta(
        u"<meta\\s+name\\s*=\\s*\"margini\"\\s+content\\s*=\\s*\"([^\"]*)\""_s,
        QRegularExpression::CaseInsensitiveOption);
    const auto match = meta.match(html);
    if (!match.hasMatch())
        return;
    const QStringList valori = match.captured(1).split(u' ', Qt::SkipEmptyParts);
    QList<int> twips;
    for (const QString &valore : valori) {
        bool ok = false;
        const double mm = valore.toDouble(&ok);
        if (!ok || !std::isfinite(mm) || mm < 0 || mm > 100)
            throw RoutineError(ErrorCode::InvalidProcedureCall,
                               u"Margini del modello non validi: "_s + valore);
        twips.append(qRound(mm * TwipsPerMm));
    }
    if (twips.size() != 4)
        throw RoutineError(ErrorCode::InvalidProcedureCall, u"Il modello deve indicare quattro margini"_s);
    setup.marginTop = twips[0];
    setup.marginRight = twips[1];
    setup.marginBottom = twips[2];
    setup.marginLeft = twips[3];
}

} // namespace

void caricaModelloDaTesto(const QString &html, PageContent &pagina)
{
    const QStringList parti = html.split(SeparatoreParti);
    if (parti.size() != 1 && parti.size() != 3)
        throw RoutineError(
            ErrorCode::InvalidProcedureCall,
            u"Il modello di pagina deve avere due separatori di intestazione e piè di pagina"_s);
    leggiMargini(html, pagina.setup);
    if (parti.size() == 1) {
        pagina.body->setHtml(html);
        return;
    }
    const QString testa = testata(parti[0]);
    pagina.header->setHtml(parti[0]);
    pagina.body->setHtml(testa + parti[1]);
    pagina.footer->setHtml(testa + parti[2]);
}

void caricaModello(const QString &path, PageContent &pagina)
{
    QFile file(path);
    if (!file.exists())
        throw RoutineError(ErrorCode::FileNotFound,
                           RoutineError::standardDescription(ErrorCode::FileNotFound) + u": "_s + path);
    if (!file.open(QIODevice::ReadOnly))
        throw RoutineError(ErrorCode::PathFileAccessError,
                           RoutineError::standardDescription(ErrorCode::PathFileAccessError) + u": "_s +
                               path);
    caricaModelloDaTesto(QString::fromUtf8(file.readAll()), pagina);
}

} // namespace kx
