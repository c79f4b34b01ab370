#pragma once
// What the windows need of the program's shared state: the two worker flags,
// the list of dictionaries and whether the radical table was loaded. The
// program passes one implementation to the main window; LocalServices keeps
// its own flags and list (used until the search state is attached, and by
// tests).
//
// Threads: user-interface thread only; the worker flags may be written by the
// worker, and are read here without locking.

#include <string>
#include <vector>

namespace mirudex::ui {

class AppServices {
public:
    virtual ~AppServices() = default;

    // thread_searching: a worker (search or load) exists.
    virtual bool ThreadSearching() const = 0;
    // SEARCH_LOCK: the search command is running.
    virtual bool SearchLock() const = 0;

    virtual int DictionaryCount() const = 0;
    // The description the user gave the dictionary (its Name option).
    virtual std::u16string DictionaryName(int index) const = 0;
    virtual bool DictionaryOn(int index) const = 0;
    virtual void SetDictionaryOn(int index, bool on) = 0;

    virtual bool RadicalsLoaded() const = 0;

    // The study list and its files (path as stored in .\StudyList\File).
    virtual int StudyListCount() const = 0;
    virtual void LoadStudyList(const std::string& path, bool append) = 0;
    virtual void SaveStudyList(const std::string& path) = 0;
    virtual void ClearStudyList() = 0;
};

class LocalServices : public AppServices {
public:
    struct Dictionary {
        std::u16string name;
        bool on = true;
    };

    bool ThreadSearching() const override { return threadSearching; }
    bool SearchLock() const override { return searchLock; }
    int DictionaryCount() const override { return static_cast<int>(dictionaries.size()); }
    std::u16string DictionaryName(int index) const override { return dictionaries[index].name; }
    bool DictionaryOn(int index) const override { return dictionaries[index].on; }
    void SetDictionaryOn(int index, bool on) override { dictionaries[index].on = on; }
    bool RadicalsLoaded() const override { return radicalsLoaded; }
    int StudyListCount() const override { return studyListCount; }
    void LoadStudyList(const std::string& path, bool append) override
    {
        studyListCalls.push_back((append ? "import " : "load ") + path);
    }
    void SaveStudyList(const std::string& path) override { studyListCalls.push_back("save " + path); }
    void ClearStudyList() override
    {
        studyListCalls.push_back("clear");
        studyListCount = 0;
    }

    bool threadSearching = false;
    bool searchLock = false;
    bool radicalsLoaded = false;
    std::vector<Dictionary> dictionaries;
    int studyListCount = 0;
    std::vector<std::string> studyListCalls;
};

}  // namespace mirudex::ui
