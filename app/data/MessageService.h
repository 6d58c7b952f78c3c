#pragma once

#include <QString>

#include <optional>

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// The caption of every message that names none of its own.
inline constexpr char16_t kAppTitle[] = u"수리볼";

// Every message box of the program goes through the installed service: a real dialog in the
// programs, a scripted answerer in tests, a line on the error stream in the command-line tools.
class MessageService
{
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& caption) = 0;
    // A password typed in a box that shows it as "*"; nothing when the user cancels or nobody can be
    // asked (the tools).
    virtual std::optional<QString> askPassword(const QString& text, const QString& caption);

    static MessageService& instance();
    // Not owned; pass nullptr to go back to the default (the error stream, first answer).
    static void install(MessageService* service);
};

std::optional<QString> AskPassword(const QString& text, const QString& caption = QString());

MsgAnswer ShowMessage(const QString& text,
                      MsgIcon icon = MsgIcon::None,
                      MsgButtons buttons = MsgButtons::Ok,
                      const QString& caption = QString());
