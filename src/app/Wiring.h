#pragma once
// Every connection between the program's parts, in one place.

class App;

void Wire(App& app);
