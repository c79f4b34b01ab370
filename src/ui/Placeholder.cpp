// (window classes are added beside this file)
