#pragma once

#include "core/data/Connection.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

namespace kx {

class Recordset;

/** A named command of the data environment: a table or view opened whole, or SQL text, with its recordset. */
class Command
{
public:
    enum class Type
    {
        Table,
        Text
    };

    Command(const QString &name, Type type, Connection &connection);
    ~Command();

    const QString &name() const { return m_name; }
    Type type() const { return m_type; }
    /** The table or view a table command opens, or the SQL text of a text command. */
    const QString &commandText() const { return m_text; }
    /** Sets the text; the recordset, when closed, reads it at its next opening. */
    void setCommandText(const QString &text);
    /** The command's recordset, "rs" followed by the command's name in the program. */
    Recordset &recordset() { return *m_recordset; }

private:
    QString m_name;
    Type m_type;
    QString m_text;
    std::unique_ptr<Recordset> m_recordset;
};

/**
 * The program's one data environment: the connection CorsiDB, a command and a recordset for each
 * table and view by name ("Domande" gives rsDomande, found by the command's name or the table's, in
 * any case), the SQL-text command Query with rsQuery, and the scratch recordset rsAppoggio.
 *
 * Every recordset reaches the database through CorsiDB, which stays one object for the whole run:
 * when it is closed and opened again (a backup, an exclusive reopening) every recordset's next use
 * works on the new opening, with nothing to bind again.
 */
class DataEnvironment
{
public:
    DataEnvironment();
    ~DataEnvironment();
    DataEnvironment(const DataEnvironment &) = delete;
    DataEnvironment &operator=(const DataEnvironment &) = delete;

    Connection &CorsiDB() { return m_connection; }

    /** The program's commands in their order: Query first, then one per table and saved query. */
    static const QStringList &commandNames();
    /** The command of that name, made on first use; its table or view must exist when it is opened. */
    Command &command(const QString &name);
    /** The recordset of the command, or of the table, of that name. */
    Recordset &rs(const QString &name) { return command(name).recordset(); }

    Command &Query() { return command(QStringLiteral("Query")); }
    Recordset &rsQuery() { return Query().recordset(); }
    Recordset &rsAppoggio() { return *m_rsAppoggio; }

    /**
     * Runs SQL text through Query the way the program's routines do: rsQuery, closed first when open
     * (a pending edit of it is dropped), opened on the text with its bound parameters and returned,
     * standing on its first row.
     */
    Recordset &runQuery(const QString &sql, const QVariantList &params = {});

    /**
     * Binds every command to CorsiDB again after a reopening. The recordsets reach the connection
     * through this object, so there is nothing left to do but make sure rsAppoggio exists.
     */
    void RiassociaComandiDE();

private:
    Connection m_connection;
    QHash<QString, std::shared_ptr<Command>> m_commands;
    std::unique_ptr<Recordset> m_rsAppoggio;
};

} // namespace kx
