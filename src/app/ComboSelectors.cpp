#include "ComboSelectors.h"

#include <QComboBox>

#include <utility>

ComboSelectors::ComboSelectors(QComboBox &years, QComboBox &beneficiaries)
    : years_(years), beneficiaries_(beneficiaries), yearText_(years.currentText()),
      beneficiaryText_(beneficiaries.currentText())
{
    yearsFollowed_ = QObject::connect(&years, &QComboBox::currentTextChanged,
                                      [this](const QString &text) { yearText_ = text; });
    beneficiariesFollowed_ =
        QObject::connect(&beneficiaries, &QComboBox::currentTextChanged,
                         [this](const QString &text) { beneficiaryText_ = text; });
}

ComboSelectors::~ComboSelectors()
{
    QObject::disconnect(yearsFollowed_);
    QObject::disconnect(beneficiariesFollowed_);
}

QString ComboSelectors::beneficiaryText() const
{
    return beneficiaryText_;
}

QString ComboSelectors::yearText() const
{
    return yearText_;
}

QStringList ComboSelectors::beneficiaryItems() const
{
    QStringList items;
    for (int i = 0; i < beneficiaries_.count(); ++i)
        items.append(beneficiaries_.itemText(i));
    return items;
}

QStringList ComboSelectors::yearItems() const
{
    QStringList items;
    for (int i = 0; i < years_.count(); ++i)
        items.append(years_.itemText(i));
    return items;
}

void ComboSelectors::appendBeneficiary(const QString &name)
{
    beneficiaries_.addItem(name);
}

void ComboSelectors::removeBeneficiaryAt(int index)
{
    // The shown name goes away with its last entry: the list then shows no name rather than
    // silently another one, until the user chooses.
    const bool wasShown = index == beneficiaries_.currentIndex();
    beneficiaries_.removeItem(index);
    if (wasShown)
        beneficiaries_.setCurrentIndex(-1);
}

void ComboSelectors::selectFirstYear()
{
    years_.setCurrentIndex(0);
}

void ComboSelectors::replaceBeneficiaries(const QStringList &items)
{
    beneficiaries_.clear();
    beneficiaries_.addItems(items);
    beneficiaries_.setCurrentIndex(0);
    if (switchView_)
        switchView_();
}

void ComboSelectors::selectFirstItems()
{
    beneficiaries_.setCurrentIndex(0);
    years_.setCurrentIndex(0);
}

ComboSelectors::View ComboSelectors::view() const
{
    return {years_.currentText(), beneficiaries_.currentText()};
}

void ComboSelectors::showView(const View &view)
{
    for (auto [combo, text] :
         {std::pair{&years_, view.year}, std::pair{&beneficiaries_, view.beneficiary}}) {
        const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            combo->setCurrentIndex(index);
    }
}
