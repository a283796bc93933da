#include "ui/WidgetPrompter.h"

#include "ui/DelayDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

namespace zentrova {

namespace {
QMessageBox::Icon iconOf(MessageType type)
{
    switch (type) {
    case MessageType::Error: return QMessageBox::Critical;
    case MessageType::Warning: return QMessageBox::Warning;
    case MessageType::Question: return QMessageBox::Question;
    case MessageType::Information: return QMessageBox::Information;
    case MessageType::Plain: break;
    }
    return QMessageBox::NoIcon;
}

QString filterText(const FileFilter& f)
{
    return f.patterns.isEmpty() ? f.description : f.description + QStringLiteral(" (") + f.patterns.join(' ') + ')';
}
} // namespace

WidgetPrompter::WidgetPrompter(QWidget* o) : owner(o) {}

void WidgetPrompter::setOwner(QWidget* o)
{
    owner = o;
}

PromptAnswer WidgetPrompter::ask(const Prompt& prompt)
{
    if (QThread::currentThread() == qApp->thread())
        return askHere(prompt);
    PromptAnswer answer;
    QMetaObject::invokeMethod(
        qApp, [&] { answer = askHere(prompt); }, Qt::BlockingQueuedConnection);
    return answer;
}

PromptAnswer WidgetPrompter::askHere(const Prompt& p)
{
    PromptAnswer answer;
    QWidget* parent = owner.data();
    switch (p.kind) {
    case Prompt::Kind::Message: {
        QMessageBox box(iconOf(p.type), p.title, p.text, QMessageBox::Ok, parent);
        box.exec();
        answer.choice = Prompter::OK;
        break;
    }
    case Prompt::Kind::Confirm:
    case Prompt::Kind::Options: {
        QMessageBox box(iconOf(p.type), p.title, p.text, QMessageBox::NoButton, parent);
        QStringList labels = p.options;
        if (p.kind == Prompt::Kind::Confirm) {
            switch (p.buttons) {
            case Prompt::Buttons::YesNo: labels = {QStringLiteral("Yes"), QStringLiteral("No")}; break;
            case Prompt::Buttons::YesNoCancel:
                labels = {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")};
                break;
            case Prompt::Buttons::OkCancel: labels = {QStringLiteral("OK"), QStringLiteral("Cancel")}; break;
            }
        }
        QList<QAbstractButton*> buttons;
        for (const QString& label : labels)
            buttons.append(box.addButton(label, QMessageBox::AcceptRole));
        const int def = p.kind == Prompt::Kind::Confirm ? 0 : p.defaultOption;
        if (def >= 0 && def < buttons.size())
            box.setDefaultButton(qobject_cast<QPushButton*>(buttons.at(def)));
        box.exec();
        answer.choice = static_cast<int>(buttons.indexOf(box.clickedButton()));
        break;
    }
    case Prompt::Kind::TextInput:
    case Prompt::Kind::Passphrase: {
        bool ok = false;
        answer.text = QInputDialog::getText(parent, p.title, p.text,
                                            p.kind == Prompt::Kind::Passphrase ? QLineEdit::Password : QLineEdit::Normal,
                                            p.initialText, &ok);
        answer.choice = ok ? Prompter::OK : Prompter::CLOSED;
        break;
    }
    case Prompt::Kind::Choice: {
        bool ok = false;
        const QString item = QInputDialog::getItem(parent, p.title, p.text, p.options, p.defaultOption, false, &ok);
        answer.choice = ok ? static_cast<int>(p.options.indexOf(item)) : Prompter::CLOSED;
        break;
    }
    case Prompt::Kind::Chooser: {
        const ChooserRequest& r = p.chooser;
        QFileDialog dialog(parent, r.title, r.startFolder);
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        switch (r.mode) {
        case ChooserMode::OpenFiles:
        case ChooserMode::FilesAndFolders:
            dialog.setFileMode(r.multiSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
            break;
        case ChooserMode::SaveFile:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setFileMode(QFileDialog::AnyFile);
            break;
        case ChooserMode::Folders:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly, true);
            break;
        }
        if (!r.approveText.isEmpty())
            dialog.setLabelText(QFileDialog::Accept, r.approveText);
        QStringList filters;
        for (const FileFilter& f : r.filters)
            filters.append(filterText(f));
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        for (const QString& pre : r.preselect)
            dialog.selectFile(pre);
        if (dialog.exec() == QDialog::Accepted) {
            answer.choice = Prompter::OK;
            answer.files = dialog.selectedFiles();
            answer.folder = dialog.directory().absolutePath();
        }
        break;
    }
    case Prompt::Kind::Notice: {
        auto* notice = new DelayDialog(parent, p.text, p.delayMs);
        notice->showAndStart();
        answer.choice = Prompter::OK;
        break;
    }
    }
    return answer;
}

} // namespace zentrova
