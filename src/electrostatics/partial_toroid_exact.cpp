// Exact potential and field of a complete toroid at a point, by the series of
// toroidal Legendre functions. Not yet computed: it needs the Legendre starting values
// and recurrence of the exact toroid.
#include "electrostatics/partial_toroid.h"

ExactToroidPoint ExactToroidAt(Extended, Extended, Extended, Extended) { return {}; }
