#include "channels/channel_table.h"

#include "core/fonts.h"
#include "channels/frequency.h"
#include "files/settings_file.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFrame>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QTreeWidget>

namespace {

const QString kBand = QStringLiteral("W");
const QString kWrongFrequency = QStringLiteral("Wrong Frequency!");

// Edits the frequency column in place. The entry goes through the table's check for the row
// the editor was opened on; Escape closes the editor without any check.
class FrequencyDelegate final : public QStyledItemDelegate {
public:
    explicit FrequencyDelegate(ChannelTable &table) : QStyledItemDelegate(table.list()), table_(table) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        table_.ListF_BeforeLabelEdit();
        return QStyledItemDelegate::createEditor(parent, option, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        table_.ListF_AfterLabelEdit(index.row() + 1, static_cast<QLineEdit *>(editor)->text());
    }

private:
    ChannelTable &table_;
};

} // namespace

ChannelTable::ChannelTable(QWidget *parent, SettingsStore &settings, QLabel *notice)
    : QObject(parent), settings_(settings), Label3(notice), ListF(new QTreeWidget(parent)),
      Label9(new QLabel(QStringLiteral("Frequency editing window"), parent)),
      Frame1(new QFrame(ListF->viewport())), Combo1(new QComboBox(parent))
{
    ListF->setObjectName(QStringLiteral("ListF"));
    ListF->setFont(VarloFont(QStringLiteral("Arial"), 14.25, true));
    ListF->setRootIsDecorated(false);
    ListF->setFrameShape(QFrame::Box);
    ListF->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListF->setSelectionMode(QAbstractItemView::SingleSelection);
    ListF->setItemDelegateForColumn(0, new FrequencyDelegate(*this));
    ListF->viewport()->installEventFilter(this);
    connect(ListF, &QTreeWidget::clicked, this, &ChannelTable::ListF_Click);

    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAutoFillBackground(true);
    Frame1->setBackgroundRole(QPalette::Window);
    auto *line2 = new QFrame(Frame1);
    line2->setObjectName(QStringLiteral("Line2"));
    line2->setFrameShape(QFrame::HLine);
    line2->setGeometry(0, 0, 4096, 2);

    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setToolTip(QStringLiteral("Transceiver Type"));
}

QString ChannelTable::frequencyOfRow(int row) const
{
    return ListF->topLevelItem(row - 1)->text(0);
}

void ChannelTable::putFrequency(int row, const QString &admitted)
{
    QTreeWidgetItem *item = ListF->topLevelItem(row - 1);
    item->setText(0, CanonicalFrequency(admitted));
    item->setText(1, kBand);
}

void ChannelTable::highlightRow(int row)
{
    const QModelIndex index = ListF->model()->index(row - 1, 0);
    ListF->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ChannelTable::clearHighlight(int row)
{
    const QModelIndex index = ListF->model()->index(row - 1, 0);
    ListF->selectionModel()->select(index, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
}

int ChannelTable::channelCount() const
{
    return ChannelCount(SingleChannel);
}

void ChannelTable::applyStoredType(qint16 transceiverType)
{
    setSingleChannel(transceiverType == 1);
    showTypeHeading();
}

void ChannelTable::buildRows()
{
    ListF->clear();
    ListF->setHeaderLabels({QStringLiteral("FRQ"), QStringLiteral("Band")});
    ListF->header()->setSectionResizeMode(QHeaderView::Stretch);
    ListF->header()->setStretchLastSection(false);
    for (int row = 0; row < kTableRows; ++row) {
        auto *item = new QTreeWidgetItem(ListF, {kDefaultFrequency, kBand});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    placeMask();
}

void ChannelTable::fillTypeList()
{
    Combo1->clear();
    Combo1->addItems({QStringLiteral("1 Channel TxRx"), QStringLiteral("6 Channels TxRx")});
    const int wanted = SingleChannel ? 0 : 1;
    const bool changes = Combo1->currentIndex() != wanted;
    connect(Combo1, &QComboBox::currentIndexChanged, this, &ChannelTable::Combo1_Click,
            Qt::UniqueConnection);
    if (changes)
        Combo1->setCurrentIndex(wanted);
    else
        Combo1_Click();
}

void ChannelTable::Combo1_Click()
{
    const bool single = Combo1->currentIndex() == 0;
    setSingleChannel(single);
    settings_.Settings().setTransceiverType(single ? 1 : 6);
    settings_.SaveSettings();
    showTypeHeading();
}

void ChannelTable::ListF_Click(const QModelIndex &index)
{
    if (index.isValid())
        startEditing(index.row() + 1);
}

void ChannelTable::ListF_BeforeLabelEdit()
{
    if (Label3)
        Label3->hide();
    Label9->show();
}

bool ChannelTable::ListF_AfterLabelEdit(int row, const QString &newString)
{
    if (ValidFrequency(newString)) {
        putFrequency(row, newString);
        return true;
    }
    // The editor is still closing: reopen it once it has gone, then show the notice, which
    // stays in view while the user corrects the entry.
    QTimer::singleShot(0, this, [this, row] {
        startEditing(row);
        showWrongFrequency();
    });
    return false;
}

void ChannelTable::showWrongFrequency()
{
    if (Label3) {
        Label3->setText(kWrongFrequency);
        Label3->show();
    }
    Label9->hide();
}

void ChannelTable::setSingleChannel(bool single)
{
    SingleChannel = single;
    Frame1->setVisible(single);
}

void ChannelTable::showTypeHeading()
{
    Label9->setText(SingleChannel ? QStringLiteral("FREQUENCY") : QStringLiteral("FREQUENCIES"));
}

void ChannelTable::placeMask()
{
    QTreeWidgetItem *second = ListF->topLevelItem(1);
    const int top = second ? ListF->visualItemRect(second).top() : 0;
    const QRect area = ListF->viewport()->rect();
    Frame1->setGeometry(0, top, area.width(), std::max(0, area.height() - top));
}

void ChannelTable::startEditing(int row)
{
    QTreeWidgetItem *item = ListF->topLevelItem(row - 1);
    ListF->setCurrentItem(item);
    ListF->editItem(item, 0);
}

bool ChannelTable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListF->viewport() && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeMask();
    return QObject::eventFilter(watched, event);
}
