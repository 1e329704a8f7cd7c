// "STO": the model voids the line the grid shows selected.
#include "register/kasse.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace zanti {

void Kasse::Storno_Click()
{
    // Only the line the grid shows selected: the record set's current row
    // stays where it was when the operator clears the selection.
    const QModelIndexList gewaehlt = m_raster->selectionModel()->selectedRows();
    if (gewaehlt.size() == 1)
        m_modell->Storno(gewaehlt.first().row());
}

} // namespace zanti
