#include "core/ui/SystemServices.h"

#include "core/text/Cp1252.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/**
 * The width a box needs for the frame to show its whole title: the caption in bold, as window frames
 * set it, and room for the frame's icon and buttons. Qt leaves room for one button only, and short
 * texts made boxes whose titles the frame cut.
 */
int larghezzaTitolo(const QString &title)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

/** A box with the program's captions, as wide as its title needs, ready to be shown. */
void preparaBox(QMessageBox &box, Prompt::Icon icon, Prompt::Buttons buttons, const QString &title,
                const QString &text)
{
    box.setWindowTitle(title.isEmpty() ? TitoloProgramma : title);
    box.setText(text);
    // What a box says can be selected and copied (an address to paste into a browser, an error).
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (icon) {
    case Prompt::Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Prompt::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Prompt::Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Prompt::Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Prompt::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Prompt::Buttons::Ok:
        standard = QMessageBox::Ok;
        break;
    case Prompt::Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Prompt::Buttons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case Prompt::Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case Prompt::Buttons::RetryCancel:
        standard = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    case Prompt::Buttons::CancelRetryContinue:
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
    // The row of buttons spans the box: the box is at least as wide as it, within the screen.
    if (auto *row = box.findChild<QDialogButtonBox *>()) {
        const QScreen *screen = box.screen();
        const int limite = screen ? screen->availableGeometry().width() * 9 / 10 : 1000;
        const QMargins margini = box.contentsMargins() + box.layout()->contentsMargins();
        row->setMinimumWidth(std::min(larghezzaTitolo(box.windowTitle()), limite) - margini.left() -
                             margini.right());
    }
}

Prompt::Answer risposta(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Prompt::Answer::Ok;
    case QMessageBox::Yes:
        return Prompt::Answer::Yes;
    case QMessageBox::No:
        return Prompt::Answer::No;
    case QMessageBox::Retry:
        return Prompt::Answer::Retry;
    default:
        return Prompt::Answer::Cancel;
    }
}

} // namespace

Prompt::Answer MessageBoxPrompt::ask(Icon icon, Buttons buttons, const QString &title, const QString &text)
{
    QMessageBox box(QApplication::activeWindow());
    preparaBox(box, icon, buttons, title, text);
    return risposta(box.exec());
}

void MessageBoxPrompt::showWithField(Icon icon, const QString &title, const QString &text,
                                     const QString &field)
{
    QMessageBox box(QApplication::activeWindow());
    preparaBox(box, icon, Buttons::Ok, title, text);
    // The field goes in the row below the text, which the box keeps for an informative text it has not.
    auto *griglia = qobject_cast<QGridLayout *>(box.layout());
    const int testo = griglia ? griglia->indexOf(box.findChild<QLabel *>(u"qt_msgbox_label"_s)) : -1;
    if (testo < 0) {
        box.setText(text + u"\r\n\r\n"_s + field);
        box.exec();
        return;
    }
    int riga = 0;
    int colonna = 0;
    int righe = 0;
    int colonne = 0;
    griglia->getItemPosition(testo, &riga, &colonna, &righe, &colonne);
    auto *campo = new QLineEdit(field, &box);
    campo->setObjectName(u"Campo"_s);
    campo->setReadOnly(true);
    campo->setCursorPosition(0);
    // As wide as the value, up to half the screen; a longer one scrolls.
    const QScreen *screen = box.screen();
    const int limite = screen ? screen->availableGeometry().width() / 2 : 500;
    const QFontMetrics metrics = campo->fontMetrics();
    campo->setMinimumWidth(std::min(metrics.horizontalAdvance(field) + 2 * metrics.height(), limite));
    griglia->addWidget(campo, riga + 1, colonna);
    box.exec();
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

/**
 * The chooser's size and date columns in the program's locale: Qt's file model writes them in the
 * system's, which may be any.
 */
class ColonneItaliane final : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        if (index.column() == 3)
            return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        return info.isDir() ? QIdentityProxyModel::data(index, role)
                            : QVariant(QLocale().formattedDataSize(info.size(), 2,
                                                                   QLocale::DataSizeTraditionalFormat));
    }
};

/** Qt's own chooser, in Italian with the program, wide enough to read the name, size and date columns. */
QString chooseFile(QFileDialog::AcceptMode mode, const QString &title, const QString &startPath,
                   const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), title, startPath, filter);
    dialog.setObjectName(u"SceltaFile"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ColonneItaliane(&dialog));
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

void usaItaliano(QCoreApplication &application)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    installQtTranslations(application);
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

bool DesktopUrlOpener::open(const QUrl &url)
{
    // A browser that xdg-open starts in its foreground keeps it running: still running after three
    // seconds means the page opened, and xdg-open is left running on its own.
    static const QString launch = uR"(xdg-open "$1" >/dev/null 2>&1 </dev/null &
pid=$!
i=0
while [ "$i" -lt 30 ]; do
    kill -0 "$pid" 2>/dev/null || { wait "$pid"; exit $?; }
    sleep 0.1
    i=$((i + 1))
done
exit 0)"_s;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start(u"sh"_s, {u"-c"_s, launch, u"sh"_s, url.toString(QUrl::FullyEncoded)});
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit &&
           process.error() == QProcess::UnknownError && process.exitCode() == 0;
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
