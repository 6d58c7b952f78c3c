#pragma once

#include "MessageService.h"

// Messages as real message boxes, and the password box, over whichever window is active.
class MessageBoxService final : public MessageService
{
public:
    MsgAnswer show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& caption) override;
    std::optional<QString> askPassword(const QString& text, const QString& caption) override;
};
