{"msg":1,"adcheckurl":"","adid":"example-1","adlang":"English","adver":"1","adrefresh":86400,
 "adgroup":[
  {"kind":0,"page":1,"adinfo":[
   {"align":0,"frame":0,"title":"Never miss a birthday","tips":"Yearly reminders",
    "link":"http://127.0.0.1:8080/news/msg.html","imgsrc":"http://127.0.0.1:8080/ad/img/bell.png",
    "fontcolor":"#1D5FA8","fontcolorover":"#D2691E","fontname":"DejaVu Sans","fontsize":9,
    "interval":10,"life":86400,"rect":{"left":4,"top":26,"right":146,"bottom":74}},
   {"align":1,"frame":0,"title":"Plan the whole week","tips":"Weekly reminders",
    "link":"http://127.0.0.1:8080/news/msg.html","imgsrc":"http://127.0.0.1:8080/ad/img/week.png",
    "fontcolor":"#23313F","fontcolorover":"#1D5FA8","fontname":"DejaVu Sans","fontsize":9,
    "interval":10,"life":86400,"rect":{"left":4,"top":4,"right":196,"bottom":96}},
   {"align":2,"frame":0,"title":"Right on time","tips":"Alerts to the second",
    "link":"http://127.0.0.1:8080/news/msg.html","imgsrc":"http://127.0.0.1:8080/ad/img/clock.png",
    "fontcolor":"#2E7D32","fontcolorover":"#1B5E20","fontname":"DejaVu Sans","fontsize":10,
    "interval":10,"life":86400,"rect":{"left":8,"top":26,"right":150,"bottom":74}},
   {"align":3,"frame":0,"title":"Your reminders, safe","tips":"Back up and restore",
    "link":"http://127.0.0.1:8080/download.html","imgsrc":"http://127.0.0.1:8080/ad/img/backup.png",
    "fontcolor":"#6A1B9A","fontcolorover":"#AB47BC","fontname":"DejaVu Sans","fontsize":9,
    "interval":10,"life":86400,"rect":{"left":4,"top":4,"right":196,"bottom":96}},
   {"align":4,"frame":0,"title":"","tips":"Olvo Reminder",
    "link":"http://127.0.0.1:8080/download.html","imgsrc":"http://127.0.0.1:8080/ad/img/banner.png",
    "fontcolor":"","fontcolorover":"","fontname":"DejaVu Sans","fontsize":9,
    "interval":10,"life":86400,"rect":{"left":0,"top":0,"right":200,"bottom":100}}
  ]},
  {"kind":1,"page":2,"adinfo":[
   {"align":5,"frame":0,"title":"Thank you for using Olvo Reminder!","tips":"Title only",
    "link":"http://127.0.0.1:8080/news/msg.html",
    "fontcolor":"#FF8000","fontcolorover":"#C62828","fontname":"DejaVu Sans","fontsize":8,
    "interval":10,"life":86400,"rect":{"left":4,"top":42,"right":198,"bottom":58}},
   {"align":5,"frame":0,"title":"Not shown: a group of kind 1 shows its first item only","tips":"",
    "link":"","fontcolor":"#000000","fontcolorover":"#000000","fontname":"DejaVu Sans","fontsize":9,
    "interval":10,"life":86400,"rect":{"left":6,"top":40,"right":194,"bottom":60}}
  ]}
 ]}
