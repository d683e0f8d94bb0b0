// The record window's text boxes: each key typed goes through the box's filter, and the value is
// checked when the user leaves the box (the checks are the record core's, FieldChecks).
#include "record/frm_Releve_SHOC_Parts.h"

#include "common/Globals.h"
#include "common/GridWidgets.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

using grid::GridView;
using namespace record::window;
namespace mb = platform::mb;

void frm_Releve_SHOC::connectFieldChecks()
{
    using record::RecordBox;
    m_boxes = {
        {txt_Date, RecordBox::Date},
        {txt_Heure, RecordBox::StartTime},
        {txt_Durée, RecordBox::Duration},
        {txt_Email, RecordBox::Email},
        {txt_Téléphone, RecordBox::Telephone},
        {txt_Lieudit, RecordBox::PlaceName},
        {txt_Nbr_Relevés, RecordBox::ParcelCount},
        {Txt_Nom_Observateur, RecordBox::ObserverName},
        {txt_Prénom_Observateur, RecordBox::ObserverFirstName},
    };
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        QLineEdit* box = it.key();
        box->installEventFilter(this);
        // A box changed after its check is checked again when it is left.
        connect(box, &QLineEdit::textEdited, this, [this, box] { m_boxEntered = box; });
    }

    m_validationView = std::make_unique<ValidationView>(*this);
    m_validator = std::make_unique<record::RecordValidator>(m_checked, m_references, *m_validationView);

    connect(Tab_Relevé, &QTabBar::currentChanged, this, &frm_Releve_SHOC::parcelTabChanged);
    connect(ogl_Divers, &QTabWidget::currentChanged, this, &frm_Releve_SHOC::pageChanged);
    // "Sauvegarder" saves as "Enregistrer et fermer" does, and the window stays open.
    connect(cmd_Save, &QPushButton::clicked, this, [this] {
        if (checkBoxLeft())
            sub_Sauvegarder_Relevé();
    });
    for (int i = 0; i < 2; ++i)
        connect(opt_Total[size_t(i)], &QRadioButton::clicked, this, [this, i] { totalEntryChosen(i); });
    connect(m_passages, &QButtonGroup::idClicked, this,
            [this] { cmd_Save->setEnabled(sub_Vérif_Si_Sauvegardable()); });
    // The status follows the season and the commune chosen.
    for (QComboBox* combo : {cbo_Saison, cbo_Communes})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_loading)
                sub_Vérif_Si_Sauvegardable();
        });
    // An edit of the species shown has them examined again by the next check.
    connect(flx_Espèces, &GridView::afterEdit, this,
            [this] { m_validator->setSpeciesChecked(m_shownParcel, false); });
}

bool frm_Releve_SHOC::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto it = box ? m_boxes.constFind(box) : m_boxes.constEnd();
    if (it != m_boxes.constEnd()) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (filterKey(box, it.value(), static_cast<QKeyEvent*>(event)))
                return true;
            break;
        case QEvent::InputMethod: { // a character composed (dead keys, compose key)
            auto* composed = static_cast<QInputMethodEvent*>(event);
            if (composed->commitString().isEmpty())
                break;
            QString kept;
            if (!filterText(it.value(), composed->commitString(), &kept))
                return true;
            composed->setCommitString(kept, composed->replacementStart(), composed->replacementLength());
            break;
        }
        case QEvent::FocusIn:
            m_boxEntered = box;
            break;
        case QEvent::FocusOut:
            boxFocusOut(box, static_cast<QFocusEvent*>(event)->reason());
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Typed text through the box's key filter: false when a key is refused (the user is told),
// otherwise the text to type.
bool frm_Releve_SHOC::filterText(record::RecordBox kind, const QString& typed, QString* kept)
{
    kept->clear();
    for (const QChar c : typed) {
        const record::KeyVerdict verdict = record::fun_Filtre_Touche(kind, c.unicode());
        if (verdict.key == 0) {
            sub_Bing();
            m_checking = true;
            platform::dialogs().ask(verdict.message, mb::OKOnly, common::kProgramName);
            m_checking = false;
            return false;
        }
        *kept += QChar(char16_t(verdict.key));
    }
    return true;
}

// A typed key: dropped, or typed as the box's filter gives it.
bool frm_Releve_SHOC::filterKey(QLineEdit* box, record::RecordBox kind, QKeyEvent* event)
{
    QString kept;
    if (!filterText(kind, event->text(), &kept))
        return true;
    if (kept == event->text())
        return false;
    QKeyEvent changed(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                      ushort(event->count()));
    QCoreApplication::sendEvent(box, &changed);
    return true;
}

// The focus leaves a box: its check runs once the focus has settled, unless a page change, a tab
// change or a button runs it first. Focus moves made by the window itself (a refused box taking
// the focus back, the validation showing a field) and moves to another window or a pop-up are
// not the user leaving the box.
void frm_Releve_SHOC::boxFocusOut(QLineEdit* box, Qt::FocusReason reason)
{
    if (m_boxEntered != box)
        return;
    m_boxEntered = nullptr;
    // The widget the focus goes to (already the application's focus widget).
    const QWidget* next = QApplication::focusWidget();
    const bool otherWindow = next && next != this && !isAncestorOf(next);
    if (m_refocusing || m_validating || m_checking || otherWindow || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason) {
        if (!m_refocusing && !m_validating)
            m_boxEntered = box; // still the box to leave
        return;
    }
    m_boxesLeft << box;
    QTimer::singleShot(0, this, &frm_Releve_SHOC::checkLaterBoxLeft);
}

void frm_Releve_SHOC::checkLaterBoxLeft()
{
    if (m_boxesLeft.isEmpty() || !isVisible())
        return;
    if (m_checking || m_validating) { // a box is open: after it
        QTimer::singleShot(50, this, &frm_Releve_SHOC::checkLaterBoxLeft);
        return;
    }
    checkBoxLeft();
}

bool frm_Releve_SHOC::checkBoxLeft()
{
    if (m_checking || m_loading)
        return true;
    // The boxes left, in order; when none is, the box that has the focus is the one being left.
    QList<QPointer<QLineEdit>> boxes;
    boxes.swap(m_boxesLeft);
    if (boxes.isEmpty() && m_boxEntered) {
        boxes << m_boxEntered;
        m_boxEntered = nullptr;
    }
    for (const QPointer<QLineEdit>& box : boxes) {
        if (!box)
            continue;
        if (box == m_boxEntered)
            m_boxEntered = nullptr;
        if (!checkBox(box)) {
            refocus(box);
            return false;
        }
    }
    return true;
}

// The check of one box, and what its accepted value calls for.
bool frm_Releve_SHOC::checkBox(QLineEdit* box)
{
    using record::RecordBox;
    const RecordBox kind = m_boxes.value(box);
    record::BoxContext context{comboText(cbo_Saison), m_parcelCount, {}};
    if (kind == RecordBox::ParcelCount)
        context.filledParcels = record::parcelsHoldingData(currentRecord());
    record::BoxVerdict verdict;
    {
        m_checking = true;
        const auto done = qScopeGuard([this] { m_checking = false; });
        verdict = record::fun_Verifier_Case(kind, box->text(), context);
    }
    if (box->text() != verdict.text)
        box->setText(verdict.text);
    if (!verdict.accepted)
        return false;
    switch (kind) {
    case RecordBox::Date:
        cmd_Save->setEnabled(sub_Vérif_Si_Sauvegardable());
        break;
    case RecordBox::PlaceName:
    case RecordBox::ObserverName:
    case RecordBox::ObserverFirstName:
        sub_Vérif_Si_Sauvegardable();
        break;
    case RecordBox::ParcelCount:
        if (verdict.parcelCount != m_parcelCount)
            applyParcelCount(verdict.parcelCount);
        break;
    default:
        break;
    }
    return true;
}

void frm_Releve_SHOC::refocus(QLineEdit* box)
{
    m_refocusing = true;
    box->setFocus(Qt::OtherFocusReason);
    m_refocusing = false;
    m_boxEntered = box;
}
