#include "model/XingZQH.h"

#include "db/Sqlite.h"

namespace mlk {

XingZQH XingZQH::FromRow(const Statement& row) {
    XingZQH division;
    division.code = row.Text("code");
    division.name = row.Text("name");
    division.parentCode = row.Text("parentCode");
    division.XZJB = row.Text("XZJB");
    return division;
}

}  // namespace mlk
