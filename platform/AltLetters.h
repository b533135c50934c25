// The platform's rule for Alt with a character key: it chooses a menu or a control by its
// underlined letter, and where it chooses nothing it types nothing. AltGr still types. An open
// menu stays open when Alt goes down, so that Alt with a letter chooses its item.
#pragma once

#include <QObject>

class AltLetters : public QObject
{
public:
    // Watches every key of the program while it lives.
    explicit AltLetters(QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The key sent on, which passes.
    QEvent *resent = nullptr;
};
