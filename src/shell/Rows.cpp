#include "shell/Rows.h"

#include <utility>

namespace kv {

std::vector<TRemovalRow>& RemovalRows() {
    static std::vector<TRemovalRow> rows;
    return rows;
}

std::vector<TEnduranceRow>& EnduranceRows() {
    static std::vector<TEnduranceRow> rows;
    return rows;
}

TRemovalRowRegistrar::TRemovalRowRegistrar(std::initializer_list<TRemovalRow> Rows) {
    for (const TRemovalRow& r : Rows) RemovalRows().push_back(r);
}

TEnduranceRowRegistrar::TEnduranceRowRegistrar(TEnduranceRow Row) { EnduranceRows().push_back(std::move(Row)); }

const TRemovalRow* FindRemovalRow(const std::string& Attack) {
    for (const TRemovalRow& r : RemovalRows())
        if (r.Attack == Attack) return &r;
    return nullptr;
}

const TEnduranceRow* FindEnduranceRow(const std::string& Attack) {
    for (const TEnduranceRow& r : EnduranceRows())
        if (r.Attack == Attack) return &r;
    return nullptr;
}

}  // namespace kv
