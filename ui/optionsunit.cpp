#include "ui/optionsunit.h"

#include "ui/failurehandler.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

TOptionsForm::TOptionsForm(std::function<void(TArgumentsView)> apply, QWidget *parent)
    : QDialog(parent)
    , m_apply(std::move(apply))
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Options"));
    move(280, 134);
    resize(212, 158);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    m_radioGroup = new QGroupBox(QStringLiteral("Arguments view"), this);
    m_radioGroup->setObjectName(QStringLiteral("ArgumentsViewRadioGroup"));
    auto *radioLayout = new QVBoxLayout(m_radioGroup);
    m_choice = new QButtonGroup(m_radioGroup);
    const QString items[] = {QStringLiteral("Arguments are coordinated"),
                             QStringLiteral("Arguments are not coordinated")};
    for (int index = 0; index < 2; ++index) {
        auto *radio = new QRadioButton(items[index], m_radioGroup);
        radio->setObjectName(QStringLiteral("ArgumentsViewRadio%1").arg(index));
        m_choice->addButton(radio, index);
        radioLayout->addWidget(radio);
    }
    m_choice->button(0)->setChecked(true);
    layout->addWidget(m_radioGroup);

    m_okButton = new QPushButton(QStringLiteral("&OK"), this);
    m_okButton->setObjectName(QStringLiteral("OKButton"));
    m_okButton->setAutoDefault(false);
    m_okButton->setDefault(false);
    m_okButton->setFixedSize(75, 25);
    layout->addWidget(m_okButton, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(m_okButton, &QPushButton::clicked, this, &TOptionsForm::OKButtonClick);
}

void TOptionsForm::OKButtonClick()
{
    runGuarded(
        [this] {
            hide();
            // The radio items stand in the order of the setting's values.
            const int choice = m_choice->checkedId();
            if (choice == 0 || choice == 1)
                m_apply(static_cast<TArgumentsView>(choice));
            accept();
        },
        this);
}
