#pragma once

#include "core/files/TextRecords.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

namespace kx {

/** How a field of a master-data record becomes the value of its column. */
enum class Conversione
{
    /** `larghezza` characters from `inizio`, then the blanks at both ends removed. */
    Testo,
    /** A whole number, by the rule of every number read from a data file (numericValueFromText). */
    Numero,
};

/** One column of a master-data table and the field of the record it comes from. */
struct CampoTracciato
{
    /** The slot of Campi, from 0. */
    int campo;
    QString colonna;
    Conversione conversione;
    /** Text only: how many characters are taken, and from which one (from 0). */
    int larghezza = 0;
    int inizio = 0;
};

/**
 * The layout of one master-data file of the operators' registry: the file, its table, and each
 * column taken from the record, in the order the columns are written. Fields the layout does not
 * name are not read. Every reader of these files goes through these four layouts.
 */
struct Tracciato
{
    QString file;
    QString tabella;
    QList<CampoTracciato> campi;
    /** Columns a row added by the first installation gets whatever the file holds. */
    QList<std::pair<QString, QVariant>> costanti;
    /** How many fields a record of the file holds, read or not. */
    int campiRecord = 0;
};

/** "oper.tx1" into CorsiOper: 14 fields, the birth date (field 9) split into day, month and year. */
const Tracciato &TracciatoOper();
/** "compo.tx1" into CorsiCompo: 14 fields, 8 and 10 not read. */
const Tracciato &TracciatoCompo();
/** "sediocc.tx1" into CorsiSediOcc: 9 fields, 5 and 7 not read. */
const Tracciato &TracciatoSediOcc();
/** "sediutil.tx1" into CorsiSediOccUtil: 4 fields. */
const Tracciato &TracciatoSediOccUtil();

/**
 * Refuses, with RoutineError 13 as any record that does not fit its columns, a record that holds
 * fewer fields than its layout (`campiLetti`, as ScomponiRecord counted them) or a control character,
 * NUL included, in any field: such a line is damage, not data.
 */
void verificaRecord(const Tracciato &tracciato, const CampiRecord &Campi, int campiLetti);

/** The column's value from the fields of the record last split. */
QVariant valoreCampo(const CampoTracciato &campo, const CampiRecord &Campi);

/** The layout's column of that name; nullptr when the layout has none. */
const CampoTracciato *campoDi(const Tracciato &tracciato, const QString &colonna);

} // namespace kx
