#include "core/ui/SystemServices.h"

#include "core/text/Cp1252.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTranslator>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace kx {

Prompt::Answer MessageBoxPrompt::ask(Icon icon, Buttons buttons, const QString &title, const QString &text)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? TitoloProgramma : title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Buttons::Ok:
        standard = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case Buttons::RetryCancel:
        standard = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    case Buttons::CancelRetryContinue:
        standard = QMessageBox::Cancel | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    }
    box.setStandardButtons(standard);
    // Italian captions whatever translations the system has.
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        {QMessageBox::Ok, u"OK"_s}, {QMessageBox::Cancel, u"Annulla"_s}, {QMessageBox::Yes, u"Sì"_s},
        {QMessageBox::No, u"No"_s}, {QMessageBox::Retry, u"Riprova"_s},  {QMessageBox::Ignore, u"Continua"_s},
    };
    for (const auto &[button, caption] : captions) {
        if (QAbstractButton *b = box.button(button))
            b->setText(caption);
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return Answer::Cancel;
    }
}

void ProcessExit::exit(int code)
{
    if (m_beforeExit)
        m_beforeExit();
    std::exit(code);
}

int ExecDialogRunner::run(QDialog &dialog)
{
    return dialog.exec();
}

namespace {

/** Qt's own chooser, in Italian with the program, wide enough to read the name, size and date columns. */
QString chooseFile(QFileDialog::AcceptMode mode, const QString &title, const QString &startPath,
                   const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), title, startPath, filter);
    dialog.setObjectName(u"SceltaFile"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The caller knows which file a name will replace, and asks about that one.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.resize(820, 480);
    // The name takes what is left once size, type and date show in full.
    if (auto *details = dialog.findChild<QTreeView *>(u"treeView"_s)) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtFileDialogs::openFileName(const QString &title, const QString &startPath, const QString &filter)
{
    return chooseFile(QFileDialog::AcceptOpen, title, startPath, filter);
}

QString QtFileDialogs::saveFileName(const QString &title, const QString &startPath, const QString &filter)
{
    return chooseFile(QFileDialog::AcceptSave, title, startPath, filter);
}

void installQtTranslations(QCoreApplication &application)
{
    // Qt's own texts (file choosers, standard buttons, context menus) in Italian, whatever the system's
    // language; a machine without the translations keeps English ones.
    auto *translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Italian, QLocale::Italy), u"qtbase"_s, u"_"_s,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void DesktopUrlOpener::open(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

void TextFileViewer::show(const QString &path)
{
    QFile file(path);
    const QString text = file.open(QIODevice::ReadOnly) ? Cp1252::decode(file.readAll()) : QString();

    QDialog window(QApplication::activeWindow());
    window.setObjectName(u"VisLog"_s);
    window.setWindowTitle(QFileInfo(path).fileName());
    window.resize(720, 480);
    auto *viewer = new QPlainTextEdit(&window);
    viewer->setReadOnly(true);
    viewer->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    viewer->setPlainText(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    buttons->button(QDialogButtonBox::Close)->setText(u"Chiudi"_s);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(viewer);
    layout->addWidget(buttons);
    window.exec();
}

void ApplicationBeeper::beep()
{
    QApplication::beep();
}

} // namespace kx
