#include "FakeServices.h"

#include <QDialog>

using namespace Qt::StringLiterals;
using namespace kx;

Prompt::Answer ScriptedPrompt::ask(Icon icon, Buttons buttons, const QString &title, const QString &text)
{
    m_shown.append({icon, buttons, title, text});
    if (m_script.empty())
        throw UnexpectedCall(u"unexpected box \"%1\": \"%2\""_s.arg(title, text));
    const ExpectedBox next = m_script.front();
    if (next.text != text)
        throw UnexpectedCall(u"box \"%1\" says \"%2\", expected \"%3\""_s.arg(title, text, next.text));
    m_script.pop_front();
    if (next.whileShown)
        next.whileShown();
    return next.answer;
}

void TestProgramExit::exit(int code)
{
    m_exited = true;
    throw ProgramExited(code);
}

int ScriptedDialogRunner::run(QDialog &dialog)
{
    if (m_script.empty() || m_script.front().first != dialog.objectName())
        throw UnexpectedCall(u"unexpected window %1"_s.arg(dialog.objectName()));
    const Driver driver = std::move(m_script.front().second);
    m_script.pop_front();
    dialog.show();
    driver(dialog);
    const int result = dialog.result();
    dialog.hide();
    return result;
}
