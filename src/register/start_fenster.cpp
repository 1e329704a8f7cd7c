#include "register/start_fenster.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zanti {

Start::Start(QWidget *eltern)
    : QWidget(eltern, Qt::Window)
{
    setObjectName(QStringLiteral("Start"));
    setWindowTitle(QStringLiteral("Startstatus"));
    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
}

void Start::textSetzen(const QString &text)
{
    m_label1->setText(text);
}

} // namespace zanti
