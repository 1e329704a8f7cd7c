#pragma once
// The start-status window: start-up writes its progress here. It is never
// shown; it only keeps the last text while the register starts.
#include <QWidget>

class QLabel;

namespace zanti {

class Start : public QWidget
{
public:
    explicit Start(QWidget *eltern = nullptr);
    void textSetzen(const QString &text);

private:
    QLabel *m_label1;
};

} // namespace zanti
