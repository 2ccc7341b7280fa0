#pragma once

// What the planted include reaches: it must exist, as the check follows includes where the
// compiler finds them.
