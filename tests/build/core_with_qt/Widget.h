#pragma once

// A core header that reaches for Qt: the include check must refuse it.
#include <QString>
