// "STO": takes the current line off the open receipt and records the void
// in the protocol under the line's own number.
#include "persistence/verkauf.h"
#include "persistence/bon_tabelle.h"
#include "register/kasse.h"
#include "register/meldung.h"
#include "register/protokoll_box.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace zanti {

void Kasse::Storno_Click()
{
    // Only the line the grid shows selected: the record set's current row
    // stays where it was when the operator clears the selection.
    const QModelIndexList gewaehlt = m_raster->selectionModel()->selectedRows();
    if (gewaehlt.size() != 1)
        return;
    m_bon->aktuelleZeileSetzen(gewaehlt.first().row());
    if (m_bon->BOF() || m_bon->EOF_() || m_bon->aktuelleZeile() != gewaehlt.first().row())
        return;
    const BonZeile zeile = m_bon->aktuell();
    // The row goes first: a line the database still holds must not show
    // as voided in the protocol.
    if (!m_bon->loeschen() && !(datenbankAusgefallen() && m_bon->loeschen())) {
        Piep();
        Meldung(this, u"Die Zeile konnte nicht storniert werden. Bitte noch einmal versuchen."_qs,
                u"Fehler"_qs);
        return;
    }
    m_protokoll->zeileVoranstellen(ProtokollStornoZeile(zeile, QTime::currentTime()));
}

} // namespace zanti
