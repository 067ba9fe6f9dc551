[playlist]
File1=file:///m/a%20b.mp3
Title1=song2.mp3
File2=song3.mp3
NumberOfEntries=2
