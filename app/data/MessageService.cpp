#include "MessageService.h"

#include <QTextStream>

namespace {

// Without a user interface (the setup tool, a service started by a script) a message is written out and
// answered with the button that goes on.
class StreamMessages final : public MessageService
{
public:
    MsgAnswer show(const QString& text, MsgIcon, MsgButtons buttons, const QString& caption) override
    {
        QTextStream err(stderr);
        err << '[' << caption << "] " << text << Qt::endl;
        switch (buttons) {
        case MsgButtons::Ok:
        case MsgButtons::OkCancel:
            return MsgAnswer::Ok;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Yes;
        }
        return MsgAnswer::Ok;
    }
};

MessageService*& installed()
{
    static MessageService* service = nullptr;
    return service;
}

} // namespace

std::optional<QString> MessageService::askPassword(const QString&, const QString&) { return std::nullopt; }

MessageService& MessageService::instance()
{
    static StreamMessages fallback;
    MessageService* service = installed();
    return service ? *service : fallback;
}

void MessageService::install(MessageService* service) { installed() = service; }

MsgAnswer ShowMessage(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& caption)
{
    return MessageService::instance().show(text,
                                           icon,
                                           buttons,
                                           caption.isEmpty() ? QString::fromUtf16(kAppTitle) : caption);
}

std::optional<QString> AskPassword(const QString& text, const QString& caption)
{
    return MessageService::instance().askPassword(text, caption.isEmpty() ? QString::fromUtf16(kAppTitle) : caption);
}
