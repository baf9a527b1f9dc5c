#pragma once

// A routing service's table, JSON: an object whose "durations" or "distances" is an array of
// rows, the rows the sources and the columns the destinations, null where there is no route.
//   {"code": "Ok", "durations": [[0, 4.5], [5.1, null]],
//    "sources": [{"name": "Main Street", "location": [10.75, 59.91]}, ...]}
// The nodes are numbered 1..n (a "name" there is a street's, not a place's); where "sources"
// gives each node a "location" [longitude, latitude], the nodes keep it as a place on the
// globe. The JSON is read strictly (RFC 8259), nested at most 64 deep.

#include <vector>

#include "import/import_text.h"

TImportedValues ReadRoutingTable(std::string_view text, TRoutingValue choice);
