#pragma once

#include "CouponRegistration.h"

#include <QDialog>

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Registers the shop's coupon of a draw, or changes it.
class frmSave22 : public QDialog
{
    Q_OBJECT
public:
    // Edit: drawNo is the coupon's draw; games, the games a new coupon starts with.
    frmSave22(CouponRegistration::Mode mode, qint64 drawNo, qint64 games = 0, QWidget* parent = nullptr);

    // The draw whose coupon was saved; nothing while none was (or the form was cancelled).
    std::optional<qint64> savedDraw() const { return m_savedDraw; }
    // "저장(&S)": checks, writes, closes; a refusal or failure keeps the form open.
    void save();
    // What leaving the draw box does: a number that is not a draw becomes the draw on sale.
    void drawNoLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* box(CouponRegistration::Field field) const;
    CouponRegistration::Fields typed() const;
    void showFields(const CouponRegistration::Fields& fields);

    CouponRegistration::Mode m_mode;
    qint64 m_games;
    bool m_loaded = false;
    std::optional<qint64> m_savedDraw;

    QLineEdit* txtBokNo;
    QComboBox* cboPart2;
    QLineEdit* txtComp1;
    QLineEdit* txtTitle1;
    QLineEdit* txtTitle2;
    std::array<QLineEdit*, 5> txtNoText {};
    QLineEdit* txtText1;
    QLineEdit* txtText2;
    QPlainTextEdit* txtBigo1;
    QLabel* lblDate1;
    QPushButton* cmdSave1;
    QPushButton* cmdCancel;
};
