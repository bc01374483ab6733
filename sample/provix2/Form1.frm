# provix2's form: its controls, their places (twips) and their saved properties.
# Settings the container keeps (place, tab order, data binding) stand beside the
# control's own saved properties, which reach the control through its property bag.
Begin Form Form1
  Caption = "Provix N° 2"
  ClientWidth = 4680
  ClientHeight = 3195
  Font = Font("MS Sans Serif", 9.75)
  Begin Label Label1(0)
    Caption = "Data Iniziale:"
    Left = 240
    Top = 660
    Width = 1215
    Height = 255
    TabIndex = 1
    Font = Font("MS Sans Serif", 9.75)
  End
  Begin zeKalendo.Kalendo Kalendo1
    Left = 1680
    Top = 600
    Width = 1215
    Height = 315
    TabIndex = 0
    DataSource = "Data1"
    DataField = "DataIniziale"
  End
  Begin Label Label1(1)
    Caption = "Data finale:"
    Left = 240
    Top = 1140
    Width = 1215
    Height = 255
    TabIndex = 3
    Font = Font("MS Sans Serif", 9.75)
  End
  Begin zeKalendo.Kalendo Kalendo2
    Left = 1680
    Top = 1080
    Width = 1215
    Height = 315
    TabIndex = 2
    DataSource = "Data1"
    DataField = "DataFinale"
  End
  Begin CommandButton Command1
    Caption = "MsgBox"
    Left = 2880
    Top = 1980
    Width = 1575
    Height = 435
    TabIndex = 4
    Font = Font("MS Sans Serif", 9.75)
  End
  Begin Data Data1
    Caption = "Data1"
    Connect = "SQLite"
    DatabaseName = "provix2.db"
    RecordSource = "Data"
    Left = 0
    Top = 2760
    Width = 4680
    Height = 435
  End
End
