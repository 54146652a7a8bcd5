#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kx {
class Connection;
struct CurrentApplication;
} // namespace kx

/** A seat as the reassignment lists it: its code, its entry, and whether it is an occasional seat. */
struct SedeRiassegnazione
{
    qint32 codice = 0;
    QString voce;

    /** Codes from 1000 up are occasional seats, the others the operator's components. */
    bool occasionale() const { return codice >= 1000; }
};

/** A course of the source seat: its code and its entry. */
struct CorsoRiassegnazione
{
    QString corso;
    QString voce;
};

/** A component that may answer for the courses moved to an occasional seat. */
struct ComponenteResponsabile
{
    qint32 componente = 0;
    QString voce;
};

/**
 * The entry of a seat: a component's code right-aligned in 3 characters, " - ", the first 35
 * characters of the name, " - ", the seat type, " - ", the address; an occasional seat's code in 5,
 * " - ", the name, " - ", the address and "   (SEDE OCCASIONALE)". A Null value adds nothing.
 */
QString voceSede(qint32 codice, const QVariant &denominazione, const QVariant &tipoCompo,
                 const QVariant &indirizzo);

/** The entry of a course: its code, three blanks, its name. */
QString voceCorso(const QString &corso, const QVariant &denCorso);

/**
 * The seats of the application that carry courses, once each in code order. A seat missing from the
 * application's seat snapshot shows its code alone, aligned as its kind.
 */
QList<SedeRiassegnazione> IniSedeDa(kx::Connection &db, const kx::CurrentApplication &domanda);

/** The courses of the seat in the application, in code order. */
QList<CorsoRiassegnazione> IniCorso(kx::Connection &db, const kx::CurrentApplication &domanda, qint32 sede);

/** Every seat of the application but the source, with or without courses, in code order. */
QList<SedeRiassegnazione> IniSedeA(kx::Connection &db, const kx::CurrentApplication &domanda, qint32 sedeDa);

/**
 * The application's seats that are not occasional ones and that the operator's registry lists as
 * users of the occasional seat, in seat order; each entry begins with the code right-aligned in 3.
 */
QList<ComponenteResponsabile> IniCompo(kx::Connection &db, const kx::CurrentApplication &domanda,
                                       qint32 sedeOcc);

/** The seat's next course code in the application (nextCourseCode); nothing once it holds "9999". */
std::optional<QString> ProgrCorsoSede(kx::Connection &db, const kx::CurrentApplication &domanda, qint32 sede);

/** What to move: courses of one seat, in the order given, to another seat. */
struct Spostamento
{
    qint32 sedeDa = 0;
    qint32 sedeA = 0;
    QStringList corsi;
    /** The component that answers for the courses at an occasional destination. */
    qint16 compoRespScelto = 0;
};

/** The outcome of a move that raised no error. */
struct EsitoSpostamento
{
    /** The destination ran out of codes: nothing was moved. */
    bool codiciEsauriti = false;
    /** The new code of each course moved, in the order moved. */
    QStringList nuoviCodici;
};

/**
 * Moves the courses to the destination seat in one transaction, each with the destination's next
 * code, so that a failure leaves every course where it was. CompoResp becomes the chosen component
 * at an occasional destination and Null for an occasional seat's course moving to a component;
 * between components it stays. Every other column, Guid included, stays, and the yearly cost rows
 * follow their course. A course no longer stored is passed over. Database failures throw RoutineError
 * after the rollback.
 */
EsitoSpostamento SpostaCorsi(kx::Connection &db, const kx::CurrentApplication &domanda,
                             const Spostamento &spostamento);
