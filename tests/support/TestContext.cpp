#include "TestContext.h"

#include <QFile>
using namespace kx;

TestContext::TestContext()
    : m_context(
          std::make_unique<Context>(m_dir.path(), m_dir.filePath(QStringLiteral(".user/FP.ini")), services()))
{
}

TestContext::~TestContext() = default;

void TestContext::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw UnexpectedCall(QStringLiteral("cannot write %1").arg(name));
}

QByteArray TestContext::readFile(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        throw UnexpectedCall(QStringLiteral("cannot read %1").arg(name));
    return file.readAll();
}
