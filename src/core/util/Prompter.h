#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova {

// Every question the program puts to the user goes through a Prompter: the widget implementation shows
// real dialogs, the scripted one in the tests answers from a queue and keeps a transcript.
enum class MessageType { Error, Information, Warning, Question, Plain };

struct FileFilter {
    QString description;
    QStringList patterns; // "*.jpg" ...; empty accepts everything
};

enum class ChooserMode { OpenFiles, SaveFile, Folders, FilesAndFolders };

struct ChooserRequest {
    QString title;
    QString approveText;
    ChooserMode mode = ChooserMode::OpenFiles;
    QString startFolder;
    QList<FileFilter> filters;
    QStringList preselect;
    bool multiSelection = false;
};

struct Prompt {
    enum class Kind { Message, Confirm, Options, TextInput, Passphrase, Choice, Chooser, Notice };
    enum class Buttons { YesNo, YesNoCancel, OkCancel };

    Kind kind = Kind::Message;
    MessageType type = MessageType::Information;
    QString title;
    QString text;
    Buttons buttons = Buttons::YesNo;
    QStringList options;   // Options and Choice
    int defaultOption = 0; // Options and Choice
    QString initialText;   // TextInput
    ChooserRequest chooser;
    int delayMs = 0;       // Notice
};

struct PromptAnswer {
    int choice = -1;      // a button or option index; CLOSED when the window was closed
    QString text;         // TextInput, Passphrase
    QStringList files;    // Chooser: the chosen entries, absolute
    QString folder;       // Chooser: the folder the chooser was showing when it was confirmed
};

class Prompter {
public:
    // Button indexes of confirmations, in the order they are shown.
    static constexpr int YES = 0, OK = 0, NO = 1, CANCEL_AFTER_YES_NO = 2, CANCEL = 1, CLOSED = -1;

    virtual ~Prompter() = default;
    virtual PromptAnswer ask(const Prompt& prompt) = 0;

    // The prompter of the running program, for code far from any window; set once at start.
    static Prompter* current();
    static void setCurrent(Prompter* prompter);

    void showMessage(MessageType type, const QString& title, const QString& text);
    // YES/NO (YesNo), YES/NO/CANCEL_AFTER_YES_NO (YesNoCancel), OK/CANCEL (OkCancel), or CLOSED.
    int confirm(const QString& title, const QString& text, Prompt::Buttons buttons,
                MessageType type = MessageType::Question);
    // The index of the chosen option, or CLOSED.
    int chooseOption(const QString& title, const QString& text, MessageType type, const QStringList& options,
                     int defaultOption);
    std::optional<QString> askText(const QString& title, const QString& text, const QString& initial = {});
    std::optional<QString> askPassphrase(const QString& title, const QString& text);
    // A selection from a list (shown as a drop-down); the index, or nothing when cancelled.
    std::optional<int> chooseFromList(const QString& title, const QString& text, const QStringList& options,
                                      int defaultOption);
    // Nothing when cancelled.
    std::optional<PromptAnswer> choose(const ChooserRequest& request);
    // A self-closing message window; does not wait.
    void showNotice(const QString& text, int delayMs);
    // "Delete Files Confirmation": true when the user answered OK. Without a prompter nothing is deleted.
    static bool confirmFileDeletion();
};

} // namespace zentrova
