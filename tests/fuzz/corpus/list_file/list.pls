[playlist]
File1=/home/u/Music/a.mp3
Title1=A
Length1=100
file2=sub/b.mp3
File10=..\x.mp3
NumberOfEntries=3
Version=2
