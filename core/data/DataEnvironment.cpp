#include "core/data/DataEnvironment.h"

#include "core/data/Recordset.h"

using namespace Qt::StringLiterals;

namespace kx {

Command::Command(const QString &name, Type type, Connection &connection)
    : m_name(name), m_type(type), m_text(type == Type::Table ? name : QString()),
      m_recordset(std::make_unique<Recordset>(connection))
{
    m_recordset->setObjectName(u"rs"_s + name);
    if (type == Type::Table)
        m_recordset->setSource(name);
}

Command::~Command() = default;

void Command::setCommandText(const QString &text)
{
    m_text = text;
    if (!m_recordset->isOpen())
        m_recordset->setSource(text);
}

DataEnvironment::DataEnvironment() : m_rsAppoggio(std::make_unique<Recordset>(m_connection))
{
    m_rsAppoggio->setObjectName(u"rsAppoggio"_s);
}

DataEnvironment::~DataEnvironment()
{
    // The recordsets go first: they refer to the connection.
    m_commands.clear();
    m_rsAppoggio.reset();
}

const QStringList &DataEnvironment::commandNames()
{
    // In the program's order: Query, then the tables and saved queries.
    static const QStringList names =
        u"Query Asse AttEcono Azione AzioneDestin Bacino Certif Comuni Comuni_Quartieri CorsiCompo "
        u"CorsiOper CorsiProp CorsiSediOcc CorsiSediOccUtil Destin Domande Misura Province "
        u"ProvinceLoghiIndir Regioni StatiEsteri TipoCompo TipoOper CorsiSediInteressate QryCompo "
        u"QryComuniProv QryCorsi QryOper QrySediIntCorsi QrySediInteressate QrySediOccUtil "
        u"QryDomandeSedLeg QryDomande AzioneDenomCorso AzionePercorsi CentroCosto CentroCostoSpesa "
        u"CorsiApprovati MassimaliPar Percorsi Prov_Asse Prov_Misura Prov_Azione QryCorsiApprovati "
        u"CorsiPropSpese QryCorsiPropSpese"_s.split(u' ');
    return names;
}

Command &DataEnvironment::command(const QString &name)
{
    const QString key = name.trimmed().toLower();
    auto found = m_commands.constFind(key);
    if (found != m_commands.constEnd())
        return **found;
    QString spelling = name.trimmed();
    for (const QString &known : commandNames()) {
        if (known.toLower() == key)
            spelling = known;
    }
    const auto type = key == u"query"_s ? Command::Type::Text : Command::Type::Table;
    auto command = std::make_shared<Command>(spelling, type, m_connection);
    m_commands.insert(key, command);
    return *command;
}

Recordset &DataEnvironment::runQuery(const QString &sql, const QVariantList &params)
{
    Recordset &recordset = rsQuery();
    if (recordset.isOpen()) {
        recordset.cancelUpdate();
        recordset.close();
    }
    Query().setCommandText(sql);
    recordset.open(sql, params);
    return recordset;
}

void DataEnvironment::RiassociaComandiDE()
{
    if (!m_rsAppoggio)
        m_rsAppoggio = std::make_unique<Recordset>(m_connection);
}

} // namespace kx
