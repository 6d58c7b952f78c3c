#pragma once

#include "Connection.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Offering new files to every install: each file goes into the server's Update1 with its target, size,
// stamp and the service's signature, and the stamp goes into the draw-progress text, so that every
// member's next start fetches them.
namespace Publisher {

struct Item
{
    QString file; // on this machine
    QString target; // in the server's form, "C:\VELTRA\수리볼\…"
};

// "FILE=TARGET"; the target in the server's form or relative to the install root. Throws SetupError.
Item ParseItem(const QString& argument);

// The demo keeps its private key beside its server file: VELTRA1.db → VELTRA1.key.
QString KeyBesideServer(const QString& serverFile);

// The stamp must be ten digits starting with a real date, and later, as text, than the files stamp now
// in the draw-progress text. All rows and the new text land in one transaction. Throws SetupError.
void Publish(const Connection& server, const QString& stamp, const QByteArray& secretKey, const QList<Item>& items);

// The draw-progress text with stamp in bytes 42–51 of its CP949 form and every other byte as it was;
// throws SetupError when the text is too short or the field does not start and end on a character.
QString WithFilesStamp(const QString& progressText, const QString& stamp);

} // namespace Publisher
