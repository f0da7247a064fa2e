#include "WorkBar.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
constexpr int Scale = 1000;
}

WorkBar::WorkBar(QWidget *parent, const QString &title, const QString &label, bool cancelOffered)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(label, this)), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Annuler"), this))
{
    setObjectName(QStringLiteral("barreTravail"));
    setWindowTitle(title);
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    label_->setObjectName(QStringLiteral("etqTravail"));
    bar_->setRange(0, Scale);
    bar_->setValue(0);
    bar_->setMinimumWidth(300);
    cancel_->setObjectName(QStringLiteral("btnAnnulerTravail"));
    cancel_->setVisible(cancelOffered);
    connect(cancel_, &QPushButton::clicked, this, &WorkBar::stopAsked);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void WorkBar::setLabel(const QString &label)
{
    label_->setText(label);
}

void WorkBar::setProgress(qint64 done, qint64 total)
{
    if (total <= 0) {
        bar_->setRange(0, 0);
        return;
    }
    bar_->setRange(0, Scale);
    bar_->setValue(int(std::clamp<qint64>(done * Scale / total, 0, Scale)));
}

void WorkBar::withdrawCancel()
{
    cancel_->hide();
}

void WorkBar::showStopping()
{
    cancel_->setEnabled(false);
    label_->setText(stoppingLabel());
}

bool WorkBar::cancelOffered() const
{
    return !cancel_->isHidden() && cancel_->isEnabled();
}

QString WorkBar::stoppingLabel()
{
    return QStringLiteral("Arrêt en cours…");
}

void WorkBar::reject()
{
    if (cancelOffered())
        Q_EMIT stopAsked();
}

void WorkBar::closeEvent(QCloseEvent *event)
{
    event->ignore();
    reject();
}
