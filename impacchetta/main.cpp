#include "impacchetta/form_load.h"

int main() { return Form_Load(); }
