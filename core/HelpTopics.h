#pragma once

class Context;

/** Opens a topic of the help file, or says that the help file is missing. */
void MostraAiuto(Context &context, int topic);
