#include "courses/CourseRecord.h"

#include "core/services/RoutineError.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"
#include "courses/CostEstimate.h"

#include <QUuid>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

template<typename Whole> Whole letto(const std::optional<Whole> &numero)
{
    if (!numero)
        throw RoutineError(ErrorCode::TypeMismatch);
    return *numero;
}

/** A code or key held as text (operator, seat, target group, approved course): digits only. */
qint64 codiceNumerico(const QString &testo)
{
    bool ok = false;
    const qint64 numero = testo.trimmed().toLongLong(&ok);
    if (!ok)
        throw RoutineError(ErrorCode::TypeMismatch);
    return numero;
}

/** The target group's code: its entry up to the double blank before the description. */
QString codiceDestinatari(const QString &voce)
{
    const qsizetype separatore = voce.indexOf(u"  "_s);
    return separatore < 0 ? voce : voce.left(separatore);
}

QString primoToken(const QString &testo)
{
    return CampoSeparato(testo, u" "_s, 0);
}

/** The leading digits of a text as a number; 0 when it begins with none. */
qint64 cifreIniziali(const QString &testo)
{
    qsizetype n = 0;
    while (n < testo.size() && testo[n].isDigit() && testo[n].unicode() < 128)
        ++n;
    return n == 0 ? 0 : testo.left(n).toLongLong();
}

} // namespace

const QStringList &courseColumns()
{
    static const QStringList columns{
        u"NumDoma"_s,        u"GrupOpe"_s,       u"Operatore"_s,        u"SedeInteressata"_s,
        u"Corso"_s,          u"CompoResp"_s,     u"CicloFinanziario"_s, u"CodAsse"_s,
        u"CodMisura"_s,      u"CodAzione"_s,     u"CodQualif"_s,        u"DenCorso"_s,
        u"CodDest"_s,        u"CodCert"_s,       u"CodPerc"_s,          u"NumAll"_s,
        u"TotOreIter"_s,     u"DurataTotIter"_s, u"CorsoRifC211B"_s,    u"IdAttivita_CorsoRifB111"_s,
        u"CodGruppo"_s,      u"CodSpesa"_s,      u"AllieviSpesa"_s,     u"OreSpesa"_s,
        u"ParametroSpesa"_s, u"TotaleSpesa"_s};
    return columns;
}

QVariant CourseRecord::value(const QString &column) const
{
    const qsizetype i = courseColumns().indexOf(column);
    return i < 0 ? QVariant() : values.value(i);
}

CourseRecord buildCourseRecord(const CourseForm &form)
{
    const qint16 allievi = letto(ItalianNumbers::readInt16(form.txtNumAll));
    const qint32 ore = letto(ItalianNumbers::readInt32(form.txtDurataOre));
    const qint16 durata = letto(ItalianNumbers::readInt16(form.cmbDurata));
    const QString destinatari = codiceDestinatari(form.cmbDest);
    if (destinatari.isEmpty())
        throw RoutineError(ErrorCode::TypeMismatch);
    const PreventivoSpesa spesa = estimate(form.cmbDenCorso, form.txtNumAll, form.txtDurataOre);
    if (spesa.vuoto())
        throw RoutineError(ErrorCode::TypeMismatch);

    QVariant compoResp;
    if (!form.cmbCompoResp.isEmpty())
        compoResp = letto(ItalianNumbers::readInt16(primoToken(form.cmbCompoResp)));
    const QString idAttivita = form.lblidattivita_CorsoRifB111;
    const bool pochiAllievi = allievi >= 1 && allievi <= 5;

    CourseRecord record;
    record.values = {
        form.NumDoma,
        form.GrupOpe,
        codiceNumerico(form.Operatore),
        codiceNumerico(form.Sede),
        form.lblCorso,
        compoResp,
        primoToken(form.CmbCicloFin),
        primoToken(form.cmbAsse),
        primoToken(form.cmbMisura),
        primoToken(form.cmbAzione),
        u""_s,
        trimBlanks(form.cmbDenCorso),
        codiceNumerico(destinatari),
        1,
        allievi > 1 ? 2 : 1,
        int(allievi),
        ore,
        int(durata),
        idAttivita.isEmpty() ? trimBlanks(form.txtCorsoRifC211B) : u""_s,
        idAttivita.isEmpty() ? QVariant() : QVariant(codiceNumerico(idAttivita)),
        42,
        pochiAllievi ? 2 : 1,
        pochiAllievi ? int(allievi) : 0,
        ore,
        spesa.parametro,
        spesa.totale,
    };
    return record;
}

std::optional<QString> nextCourseCode(const QStringList &storedCodes)
{
    qint64 massimo = 0;
    for (const QString &codice : storedCodes)
        massimo = std::max(massimo, cifreIniziali(codice));
    if (massimo >= 9999)
        return std::nullopt;
    return QString::number(massimo + 1).rightJustified(4, u'0');
}

QString newCourseGuid()
{
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}

CourseRow::CourseRow(std::shared_ptr<const QHash<QString, int>> columns, QVariantList values)
    : m_columns(std::move(columns)), m_values(std::move(values))
{
}

QVariant CourseRow::value(const QString &column) const
{
    if (!m_columns)
        return {};
    const auto i = m_columns->constFind(column.toLower());
    return i == m_columns->cend() ? QVariant() : m_values.value(*i);
}

namespace {

/** Null as the empty text, anything else as its text without blanks around. */
QString testoMemorizzato(const QVariant &valore)
{
    return trimBlanks(NonNull(valore));
}

/** A stored number; nothing for Null or a value that is no number. */
std::optional<qint64> numeroMemorizzato(const QVariant &valore)
{
    if (valore.isNull() || !valore.isValid())
        return std::nullopt;
    bool ok = false;
    const qint64 numero = valore.toLongLong(&ok);
    return ok ? std::optional<qint64>(numero) : std::nullopt;
}

template<typename Whole> bool stessoNumero(const std::optional<Whole> &schermo, const QVariant &memorizzato)
{
    const auto valore = numeroMemorizzato(memorizzato);
    return schermo && valore && qint64(*schermo) == *valore;
}

} // namespace

bool courseUnchanged(const CourseForm &form, const CourseRow &row)
{
    const QString destinatari = trimBlanks(form.cmbDest.left(3));
    const QVariant destinatariMemorizzati = row.value(u"CodDest"_s);
    return primoToken(form.cmbCompoResp) == testoMemorizzato(row.value(u"CompoResp"_s)) &&
           primoToken(form.CmbCicloFin) == NonNull(row.value(u"CicloFinanziario"_s)) &&
           primoToken(form.cmbAsse) == NonNull(row.value(u"CodAsse"_s)) &&
           primoToken(form.cmbMisura) == NonNull(row.value(u"CodMisura"_s)) &&
           primoToken(form.cmbAzione) == NonNull(row.value(u"CodAzione"_s)) &&
           trimBlanks(form.cmbDenCorso) == NonNull(row.value(u"CorsiProp.DenCorso"_s)) &&
           cifreIniziali(destinatari) == numeroMemorizzato(destinatariMemorizzati).value_or(0) &&
           stessoNumero(ItalianNumbers::readInt16(form.txtNumAll), row.value(u"NumAll"_s)) &&
           trimBlanks(form.txtCorsoRifC211B) == NonNull(row.value(u"CorsoRifC211B"_s)) &&
           trimBlanks(form.lblidattivita_CorsoRifB111) == NonNull(row.value(u"IdAttivita_CorsoRifB111"_s)) &&
           stessoNumero(ItalianNumbers::readInt32(form.txtDurataOre), row.value(u"TotOreIter"_s)) &&
           stessoNumero(ItalianNumbers::readInt16(form.cmbDurata), row.value(u"DurataTotIter"_s));
}
