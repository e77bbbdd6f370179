#include "query/query_state.h"

namespace md_query_functions2 {

QueryState& queryState() {
    static QueryState state;
    return state;
}

void ResetQueryState() { queryState() = QueryState(); }

}  // namespace md_query_functions2
