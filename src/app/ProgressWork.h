#pragma once

#include <functional>

class Database;

// Runs storage work with the progress window over the main window: work gets the program's
// database, handed to a worker thread for its length; what it throws is thrown again here.
void runWithProgress(const std::function<void(Database&)>& work);
// The same for work on files alone, such as a copy made while the database is closed.
void runFileWorkWithProgress(const std::function<void()>& work);
