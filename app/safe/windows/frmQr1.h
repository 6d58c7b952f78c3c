#pragma once

#include "TicketQr.h"

#include <QDialog>

#include <optional>

class Grid;
class QLabel;
class QLineEdit;
class QPushButton;

// Puts a bought paper ticket into the safe from its QR code: the address a phone read from the code, or a
// photo or scan of the ticket. The draw and games are shown for a look before anything is saved.
class frmQr1 : public QDialog
{
    Q_OBJECT
public:
    explicit frmQr1(QWidget* parent = nullptr);

    void ReadText(const QString& text);
    void ReadImage(const QString& path);
    void ChooseImage();
    void SaveTicket();

    // The draw the games went to, once saved.
    std::optional<qint64> savedDraw() const { return m_saved; }

private:
    void showTicket(const TicketQr::Ticket& ticket);
    void forget();

    QLineEdit* txtQr1;
    QPushButton* cmdRead1;
    QPushButton* cmdImage1;
    QLabel* lblDraw1;
    Grid* grdR1;
    QLineEdit* txtGName1;
    QPushButton* cmdSave1;
    QPushButton* cmdCancel;

    std::optional<TicketQr::Ticket> m_ticket;
    std::optional<qint64> m_saved;
};
