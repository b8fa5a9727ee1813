#include "info/info_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvo {

InfoDialog::InfoDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("InfoDialog"));
    setWindowTitle(QStringLiteral("Info Dialog - Tarvo"));
    auto* layout = new QVBoxLayout(this);
    auto* version = new QLabel(QStringLiteral("Tarvo Vers. 1.31"), this);
    version->setObjectName(QStringLiteral("VersionLabel"));
    layout->addWidget(version);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Close"));
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, &InfoDialog::Close_Click);
}

void InfoDialog::CreateShortcuts_Click()
{
    // Desktop and menu entries are not written yet.
}

void InfoDialog::Close_Click()
{
    close();
}

} // namespace tarvo
