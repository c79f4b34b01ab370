// (area library; sources are added beside this file)
