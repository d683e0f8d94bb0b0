#include "grid/ListEditor.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QValidator>

#include <algorithm>

namespace grid {

namespace {

// Rows of the list shown at once; more scroll.
constexpr int kShownRows = 12;

// Said in the list while the text typed matches none of its items.
const QString kNothingMatches = QStringLiteral("Aucun élément ne correspond");

// Enter and Tab store only when there is something to store, or when nothing was typed (and
// then nothing is stored, the cell keeping its value, whether one of the items or not): a typed
// text that matches no item of a closed list keeps the editor open.
class ChoiceValidator : public QValidator
{
public:
    explicit ChoiceValidator(ListEditor* editor) : QValidator(editor), m_editor(editor) {}

    State validate(QString& text, int&) const override
    {
        return m_editor->hasValue() || text.isEmpty() || !m_editor->isTyped() ? Acceptable : Intermediate;
    }

private:
    ListEditor* m_editor;
};

QStringList labelsOf(const GridEditList& list)
{
    QStringList labels;
    labels.reserve(list.items.size());
    for (const GridEditItem& item : list.items)
        labels.append(item.label);
    return labels;
}

} // namespace

ListEditor::ListEditor(const GridEditList& list, QWidget* parent)
    : QLineEdit(parent), m_list(list), m_matcher(labelsOf(list))
{
    setValidator(new ChoiceValidator(this));
    m_textColour = palette().color(QPalette::Text);
    m_choices = new QListWidget(parent ? parent->window() : nullptr);
    m_choices->setObjectName(QStringLiteral("editListChoices"));
    // A click chooses and leaves the focus in the cell: the list takes none, and stands for the
    // editor, so that no widget under it takes the focus either.
    m_choices->setFocusPolicy(Qt::NoFocus);
    m_choices->setFocusProxy(this);
    m_choices->setSelectionMode(QAbstractItemView::SingleSelection);
    m_choices->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_choices->setUniformItemSizes(true);
    m_choices->hide();
    connect(m_choices, &QListWidget::clicked, this, [this](const QModelIndex& index) {
        if (index.row() < 0 || index.row() >= m_offered.size())
            return;
        highlight(index.row());
        Q_EMIT itemClicked();
    });
    connect(this, &QLineEdit::textEdited, this, &ListEditor::typed);
}

ListEditor::~ListEditor() { delete m_choices.data(); }

void ListEditor::showValue(const QString& value)
{
    int item = -1;
    for (int i = 0; i < m_list.items.size() && item < 0; ++i)
        if (m_list.items[i].code == value)
            item = i;
    for (int i = 0; i < m_list.items.size() && item < 0; ++i)
        if (m_list.items[i].label == value)
            item = i;
    setText(item >= 0 ? m_list.items[item].label : value);
    m_typed = false;
    showMatchesNothing(false);
    offer(m_matcher.matches(QString()), item);
}

void ListEditor::setTypedText(const QString& text)
{
    setText(text);
    setModified(true);
    typed(text);
}

void ListEditor::typed(const QString& text)
{
    m_typed = true;
    const QList<int> items = m_matcher.matches(text);
    showMatchesNothing(items.isEmpty() && !text.isEmpty() && !m_list.typingAllowed);
    offer(items, text.isEmpty() || items.isEmpty() ? -1 : 0);
}

void ListEditor::showMatchesNothing(bool nothing)
{
    if (nothing == m_matchesNothing)
        return;
    m_matchesNothing = nothing;
    QPalette shown = palette();
    shown.setColor(QPalette::Text, nothing ? QColor(Qt::red) : m_textColour);
    setPalette(shown);
}

bool ListEditor::hasValue() const { return m_current >= 0 || m_list.typingAllowed; }

QString ListEditor::value() const
{
    if (m_current >= 0)
        return m_list.items[m_offered[m_current]].code;
    return m_list.typingAllowed ? text() : QString();
}

QListWidget* ListEditor::choices() const { return m_choices.data(); }

QStringList ListEditor::offeredLabels() const
{
    QStringList labels;
    for (int i : m_offered)
        labels.append(m_list.items[i].label);
    return labels;
}

void ListEditor::offer(const QList<int>& items, int current)
{
    m_offered = items;
    if (m_choices) {
        m_choices->clear();
        m_choices->addItems(offeredLabels());
        if (m_matchesNothing) {
            // A line that cannot be chosen: the list's rows stay those of m_offered (none).
            auto* line = new QListWidgetItem(kNothingMatches, m_choices);
            line->setFlags(Qt::NoItemFlags);
        }
    }
    highlight(current);
    placeChoices();
}

void ListEditor::highlight(int row)
{
    m_current = row >= 0 && row < m_offered.size() ? row : -1;
    if (!m_choices)
        return;
    if (m_current < 0) {
        m_choices->clearSelection();
        m_choices->setCurrentRow(-1);
        m_choices->scrollToTop();
        return;
    }
    m_choices->setCurrentRow(m_current);
    m_choices->scrollToItem(m_choices->item(m_current));
}

void ListEditor::keyPressEvent(QKeyEvent* event)
{
    // Alt+Down, Alt+Up and F4 open a list elsewhere; this one is open already.
    const bool openList =
        event->key() == Qt::Key_F4 || ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
                                       (event->modifiers() & Qt::AltModifier));
    if (openList) {
        event->accept();
        return;
    }
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Down:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -1;
        break;
    case Qt::Key_PageDown:
        step = kShownRows - 1;
        break;
    case Qt::Key_PageUp:
        step = 1 - kShownRows;
        break;
    default:
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (m_offered.isEmpty())
        return;
    const int last = int(m_offered.size()) - 1;
    highlight(m_current < 0 ? (step > 0 ? 0 : last) : std::clamp(m_current + step, 0, last));
}

// ---------------------------------------------------------------- the list on screen

void ListEditor::placeChoices()
{
    if (!m_choices)
        return;
    QWidget* window = m_choices->parentWidget();
    const int lines = m_choices->count();
    if (!isVisible() || lines == 0 || !window || !window->isAncestorOf(this)) {
        m_choices->hide();
        return;
    }
    const int frame = 2 * m_choices->frameWidth();
    const int rowHeight = std::max(m_choices->sizeHintForRow(0), fontMetrics().height());
    const int rows = std::min(lines, kShownRows);
    int height = rows * rowHeight + frame;
    int width = m_choices->sizeHintForColumn(0) + frame;
    if (lines > kShownRows)
        width += m_choices->verticalScrollBar()->sizeHint().width();
    width = std::min(std::max(width, this->width()), window->width());

    // Under the cell, or over it when there is more room there.
    const QPoint below = mapTo(window, QPoint(0, this->height()));
    const int roomBelow = window->height() - below.y();
    const int roomAbove = below.y() - this->height();
    int top = below.y();
    if (height > roomBelow && roomAbove > roomBelow) {
        height = std::min(height, roomAbove);
        top = roomAbove - height;
    } else {
        height = std::min(height, std::max(roomBelow, rowHeight + frame));
    }
    const int left = std::clamp(below.x(), 0, std::max(0, window->width() - width));
    m_choices->setGeometry(left, top, width, height);
    m_choices->raise();
    m_choices->show();
    if (m_current >= 0)
        m_choices->scrollToItem(m_choices->item(m_current));
}

void ListEditor::showEvent(QShowEvent* event)
{
    QLineEdit::showEvent(event);
    placeChoices();
}

void ListEditor::hideEvent(QHideEvent* event)
{
    QLineEdit::hideEvent(event);
    if (m_choices)
        m_choices->hide();
}

void ListEditor::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    placeChoices();
}

void ListEditor::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    placeChoices();
}

} // namespace grid
