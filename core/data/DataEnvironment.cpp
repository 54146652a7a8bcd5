#include "core/data/DataEnvironment.h"

using namespace Qt::StringLiterals;

Command::Command(const QString &name, Type type, Connection &connection)
    : m_name(name), m_type(type), m_text(type == Type::Table ? name : QString()),
      m_recordset(std::make_unique<Recordset>(connection))
{
    m_recordset->setObjectName(u"rs"_s + name);
    if (type == Type::Table)
        m_recordset->setSource(name);
}

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
    static const QStringList names = {
        u"Query"_s,           u"Asse"_s,           u"AttEcono"_s,          u"Azione"_s,
        u"AzioneDestin"_s,    u"Bacino"_s,         u"Certif"_s,            u"Comuni"_s,
        u"Comuni_Quartieri"_s, u"CorsiCompo"_s,    u"CorsiOper"_s,         u"CorsiProp"_s,
        u"CorsiSediOcc"_s,    u"CorsiSediOccUtil"_s, u"Destin"_s,          u"Domande"_s,
        u"Misura"_s,          u"Province"_s,       u"ProvinceLoghiIndir"_s, u"Regioni"_s,
        u"StatiEsteri"_s,     u"TipoCompo"_s,      u"TipoOper"_s,          u"CorsiSediInteressate"_s,
        u"QryCompo"_s,        u"QryComuniProv"_s,  u"QryCorsi"_s,          u"QryOper"_s,
        u"QrySediIntCorsi"_s, u"QrySediInteressate"_s, u"QrySediOccUtil"_s, u"QryDomandeSedLeg"_s,
        u"QryDomande"_s,      u"AzioneDenomCorso"_s, u"AzionePercorsi"_s,  u"CentroCosto"_s,
        u"CentroCostoSpesa"_s, u"CorsiApprovati"_s, u"MassimaliPar"_s,     u"Percorsi"_s,
        u"Prov_Asse"_s,       u"Prov_Misura"_s,    u"Prov_Azione"_s,       u"QryCorsiApprovati"_s,
        u"CorsiPropSpese"_s,  u"QryCorsiPropSpese"_s,
    };
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
