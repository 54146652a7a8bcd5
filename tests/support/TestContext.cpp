#include "TestContext.h"

#include <QAbstractButton>
#include <QFile>

namespace {

template<typename T, typename Setter>
T *give(Context &context, Setter setter)
{
    auto service = std::make_unique<T>();
    T *raw = service.get();
    (context.*setter)(std::move(service));
    return raw;
}

} // namespace

TestContext::TestContext()
    : m_context(std::make_unique<Context>(m_dir.path(), m_dir.filePath(QStringLiteral(".user/FP.ini")))),
      m_prompt(give<ScriptedPrompt>(*m_context, &Context::setPrompt)),
      m_programExit(give<TestProgramExit>(*m_context, &Context::setProgramExit)),
      m_dialogRunner(give<ScriptedDialogRunner>(*m_context, &Context::setDialogRunner)),
      m_fileDialogs(give<PresetFileDialogs>(*m_context, &Context::setFileDialogs)),
      m_help(give<RecordingHelp>(*m_context, &Context::setHelp)),
      m_urlOpener(give<RecordingUrlOpener>(*m_context, &Context::setUrlOpener)),
      m_logViewer(give<RecordingLogViewer>(*m_context, &Context::setLogViewer)),
      m_clock(give<FixedClock>(*m_context, &Context::setClock)),
      m_commandLine(give<FixedCommandLine>(*m_context, &Context::setCommandLine)),
      m_beeper(give<CountingBeeper>(*m_context, &Context::setBeeper)),
      m_networkStatus(give<FixedNetworkStatus>(*m_context, &Context::setNetworkStatus))
{
}

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

void press(QWidget *window, const QString &name)
{
    auto *button = control<QAbstractButton>(window, name);
    if (!button->isVisible() || !button->isEnabled())
        throw UnexpectedCall(QStringLiteral("%1 cannot be pressed: hidden or disabled").arg(name));
    button->click();
}
