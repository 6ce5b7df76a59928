#include "ui/platform.h"

#include "print/report_printer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTranslator>
#include <algorithm>

namespace ladya::ui {

bool installQtTranslations(QObject* owner, const QString& directory) {
    auto* translator = new QTranslator(owner);
    const QString dir =
        directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory;
    if (!translator->load(QStringLiteral("qtbase_ru"), dir) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

QString toQtNameFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString patterns = filter.sliced(bar + 1);
    patterns.replace(u';', u' ');
    return filter.first(bar) + QStringLiteral(" (") + patterns + u')';
}

namespace {

// A hidden parent would keep a box off screen on some window managers.
QWidget* visibleOwner(QWidget* parent) {
    return parent && parent->isVisible() ? parent : nullptr;
}

// The box wraps whatever is wider than about 500 pixels, mid-sentence; the text's own
// line breaks are where its lines end. A line wider than the screen still wraps.
void keepLinesWhole(QMessageBox& box, const QString& text, const QWidget* owner) {
    box.setTextFormat(Qt::PlainText);
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        int widest = 0;
        for (const QString& line : text.split(u'\n'))
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
        const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        const int room = screen ? screen->availableGeometry().width() - 150 : 800;
        label->setMinimumWidth(std::min(widest + 4, room));
    }
}

} // namespace

void QtPlatform::showMessage(QWidget* parent, const Message& message) {
    QWidget* owner = visibleOwner(parent);
    QMessageBox box(QMessageBox::NoIcon, message.title, message.text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    keepLinesWhole(box, message.text, owner);
    box.exec();
}

bool QtPlatform::confirm(QWidget* parent, const Message& question) {
    QWidget* owner = visibleOwner(parent);
    QMessageBox box(QMessageBox::Question, question.title, question.text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    // A stray Enter keeps what the director has made.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    keepLinesWhole(box, question.text, owner);
    return box.exec() == QMessageBox::Yes;
}

int QtPlatform::ask(QWidget* parent, const Message& message, const QStringList& choices) {
    QWidget* owner = visibleOwner(parent);
    QMessageBox box(QMessageBox::NoIcon, message.title, message.text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    QVector<QPushButton*> buttons;
    for (const QString& choice : choices)
        buttons.append(box.addButton(choice, QMessageBox::ActionRole));
    if (!buttons.isEmpty()) {
        box.setDefaultButton(buttons.first());
        box.setEscapeButton(buttons.last());
    }
    keepLinesWhole(box, message.text, owner);
    box.exec();
    return int(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}

std::optional<QString> QtPlatform::askText(QWidget* parent, const Message& question,
                                           const QString& text) {
    QInputDialog dialog(visibleOwner(parent));
    dialog.setWindowTitle(question.title);
    dialog.setLabelText(question.text);
    dialog.setTextValue(text);
    dialog.setInputMode(QInputDialog::TextInput);
    // Room for a long name beside the question's own lines.
    dialog.resize(std::max(dialog.sizeHint().width(), 480), dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

bool QtPlatform::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void QtPlatform::printPreview(QWidget* parent, const PrintDocument& document) {
    print::ReportPrinter pages(document);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pages.pageLayout());
    printer.setDocName(document.header);
    QPrintPreviewDialog preview(&printer, visibleOwner(parent));
    preview.setObjectName(QStringLiteral("printPreview"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&pages](QPrinter* device) { pages.paint(*device); });
    if (const QScreen* screen = preview.screen()) {
        const QSize room = screen->availableGeometry().size();
        preview.resize(std::min(1100, room.width() - 60), std::min(800, room.height() - 60));
    }
    preview.exec();
}

QString QtPlatform::openFile(QWidget* parent, const QString& title, const QString& startDir,
                             const QString& filter) {
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    return QFileDialog::getOpenFileName(owner, title, startDir, toQtNameFilter(filter));
}

QDate QtPlatform::today() const {
    return QDate::currentDate();
}

} // namespace ladya::ui
